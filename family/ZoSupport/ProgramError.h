// Report of a broken internal invariant.
#pragma once

// Writes "ProgramError: <source name>(<line>)" and the text, when given, to stderr and returns.
// The source name is the last component of sourcePath (callers pass __FILE__).
void ProgramError(const char* sourcePath, int line, const char* text);
