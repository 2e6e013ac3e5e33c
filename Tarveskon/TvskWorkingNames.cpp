#include "TvskWorkingNames.h"

#include <framework/CString.h>

namespace tvsk
{

bool IsReadWrite(const DBPAR& par)
{
    return CString(par.szRW).CompareNoCase("rw") == 0;
}

namespace
{

std::vector<std::string> ListNames(CTvskParDb& db, bool working, bool opMode, bool readWriteOnly)
{
    std::vector<std::string> names;
    for (long i = 0; i < db.GetParNum(working); ++i)
    {
        const DBPAR* par = db.GetPar(i, working);
        if (par && (db.IsOpModePar(par->szID) != 0) == opMode && (!readWriteOnly || IsReadWrite(*par)))
            names.emplace_back(par->szID);
    }
    return names;
}

} // namespace

std::vector<std::string> WorkingNames(CTvskParDb& db, bool opMode, bool readWriteOnly)
{
    return ListNames(db, true, opMode, readWriteOnly);
}

std::vector<std::string> MenuWritableNames(CTvskParDb& db, bool opMode)
{
    return ListNames(db, false, opMode, true);
}

} // namespace tvsk
