// The names of the working list, taken before a read can rebuild it for a new operating mode, and
// the one rule for a writable parameter.
#pragma once

#include <TvskDb/TvskParDb.h>

#include <string>
#include <vector>

namespace tvsk
{

// A parameter the drive lets the configuration write: access "rw" in any case.
bool IsReadWrite(const DBPAR& par);

// The operating-mode entries (opMode) or all others, optionally only the "rw" ones, in list order.
std::vector<std::string> WorkingNames(CTvskParDb& db, bool opMode, bool readWriteOnly);
// The "rw" entries of the current menu's list, the operating-mode ones (opMode) or all others.
std::vector<std::string> MenuWritableNames(CTvskParDb& db, bool opMode);

} // namespace tvsk
