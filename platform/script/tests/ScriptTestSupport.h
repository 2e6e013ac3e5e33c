// Runs a script and describes what it left in `result`, or the error it raised.
#pragma once

#include <script/Interpreter.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tvsk::script::testing
{

// "Integer:3", "String:abc", "Null:", "error 13" (a run-time error), "syntax 1002 line 2" (a compile error).
std::string Outcome(const std::string& script);
// The same for an expression evaluated after the script ran.
std::string Describe(Interpreter& interp, const std::string& expression);
std::u16string U(const std::string& utf8);

// A table row: the script and the outcome it must have.
struct Row
{
    const char* script;
    const char* expected;
};

inline void Check(const std::vector<Row>& rows)
{
    for (const Row& row : rows)
        EXPECT_EQ(Outcome(row.script), row.expected) << row.script;
}

} // namespace tvsk::script::testing
