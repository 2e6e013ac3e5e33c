// What hosts did to the test plug-in modules, and how the modules are told to answer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tvsk::testplugin
{

struct Command
{
    std::string module;
    unsigned code;
    intptr_t param1;
    intptr_t param2;
    std::string text; // param1 as text for codes 3, 4 and 6 when given
};

// Lines in order: "<module> create", "<module> command <code>", "<module> delete", "<module> unload".
void Record(const std::string& line);
void RecordCommand(const Command& command);
std::vector<std::string> Lines();
std::vector<Command> Commands();
void Clear();

// The value the modules write for result query 8 (default 0).
void SetResultQueryAnswer(int answer);
int ResultQueryAnswer();
// While set, the modules' factory makes no object.
void SetMakesNoObject(bool makesNone);
bool MakesNoObject();
// Clears the journal and restores the default answers.
void ResetAll();

} // namespace tvsk::testplugin
