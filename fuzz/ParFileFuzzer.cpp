// Parameter files: loaded, then written as a listing and read back.
#include "FuzzInput.h"

#include <TvskDb/TvskParDb.h>
#include <TvskDb/TvskSlvDataDb.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputFile file(data, size, "par");
    CTvskParDb pars;
    if (pars.Load(file.Path()) != 0)
        return 0;
    fuzz::InputFile listing(nullptr, 0, "par.slv");
    if (pars.Save(listing.Path()) == 0)
    {
        CTvskSlvDataDb back;
        back.Load(listing.Path());
    }
    return 0;
}
