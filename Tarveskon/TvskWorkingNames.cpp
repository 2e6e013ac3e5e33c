#include "TvskWorkingNames.h"

#include <framework/CString.h>

namespace tvsk
{

bool IsReadWrite(const DBPAR& par)
{
    return CString(par.szRW).CompareNoCase("rw") == 0;
}

std::vector<std::string> WorkingNames(CTvskParDb& db, bool opMode, bool readWriteOnly)
{
    std::vector<std::string> names;
    for (long i = 0; i < db.GetParNum(true); ++i)
    {
        const DBPAR* par = db.GetPar(i, true);
        if (par && (db.IsOpModePar(par->szID) != 0) == opMode && (!readWriteOnly || IsReadWrite(*par)))
            names.emplace_back(par->szID);
    }
    return names;
}

} // namespace tvsk
