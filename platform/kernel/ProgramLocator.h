// Finding the program a command line names beside the running program.
#pragma once

#include <string>
#include <vector>

namespace tvsk::kernel
{

// The words of a command line: split at blanks, double quotes group and are dropped.
std::vector<std::string> SplitCommandLine(const char* commandLine);

// The directory of the running program, or TARVESKON_PROGRAM_DIR when it is set.
std::string ProgramDirectory();

// The path of the program in that directory, by exact name, else ignoring case; empty if none.
std::string FindProgramBeside(const std::string& name);

// The first executable file of that name in the directories of PATH; empty if none.
std::string FindProgramOnPath(const std::string& name);

} // namespace tvsk::kernel
