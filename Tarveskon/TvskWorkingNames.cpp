#include "TvskWorkingNames.h"

#include <cstring>

namespace tvsk
{

std::vector<std::string> WorkingNames(CTvskParDb& db, bool opMode, bool readWriteOnly)
{
    std::vector<std::string> names;
    for (long i = 0; i < db.GetParNum(true); ++i)
    {
        const DBPAR* par = db.GetPar(i, true);
        if (par && (db.IsOpModePar(par->szID) != 0) == opMode &&
            (!readWriteOnly || std::strcmp(par->szRW, "rw") == 0))
            names.emplace_back(par->szID);
    }
    return names;
}

} // namespace tvsk
