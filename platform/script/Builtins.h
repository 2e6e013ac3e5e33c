// The language's functions and named constants.
#pragma once

#include "Value.h"

#include <string_view>

namespace tvsk::script
{

struct Frame;

struct Builtin
{
    const char16_t* name; // lower case
    int minArgs;
    int maxArgs;
    Value (*call)(Frame& f, Value* args, int count);
    // Reads its arguments only while it runs (never keeps or returns them): variables may be lent.
    bool borrows = false;
};

// Null when the name is no function of the language.
const Builtin* FindBuiltin(std::u16string_view lowerName);
// The value of a named constant (vbCrLf, vbTextCompare ...), or false.
bool FindConstant(std::u16string_view lowerName, Value& out);

} // namespace tvsk::script
