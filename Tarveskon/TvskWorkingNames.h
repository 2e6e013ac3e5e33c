// The names of the working list, taken before a read can rebuild it for a new operating mode.
#pragma once

#include <TvskDb/TvskParDb.h>

#include <string>
#include <vector>

namespace tvsk
{

// The operating-mode entries (opMode) or all others, optionally only the "rw" ones, in list order.
std::vector<std::string> WorkingNames(CTvskParDb& db, bool opMode, bool readWriteOnly);

} // namespace tvsk
