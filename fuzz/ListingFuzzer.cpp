// Parameter listings (".slv"): read, then every record and cam point looked at.
#include "FuzzInput.h"

#include <TvskDb/TvskSlvDataDb.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputFile file(data, size, "listing.slv");
    CTvskSlvDataDb listing;
    if (listing.Load(file.Path()) != 0)
        return 0;
    long sum = 0;
    for (long i = 0; i < listing.GetValNums(); ++i)
        sum += listing.GetValue(i)->iValue;
    for (long i = 0; i < listing.GetInstrNums(); ++i)
        sum += listing.GetInstruction(i)->szIstr[0];
    double value = 0;
    for (long cam = 0; cam < 4; ++cam)
        listing.GetCammaData(cam, 0, value);
    return sum == 1 ? 0 : 0;
}
