// The program's own string table (built-in Italian texts) and the ids the program shows.
#pragma once

#include <framework/WinTypes.h>

// Registers the table as the running program's strings; the language tables may replace them.
void RegisterTvskStrings();

// Every id the table holds, ascending.
const UINT* TvskStringIds(int* count);
