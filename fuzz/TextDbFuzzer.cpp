// The text database engine through the drives and motors databases, and the session data file.
#include "FuzzInput.h"

#include <TvskDb/TvskDataDb.h>
#include <TvskDb/TvskDriveDb.h>
#include <TvskDb/TvskMotorDb.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputFile file(data, size, "textdb");
    CTvskDriveDb drives;
    drives.Load(file.Path());
    CTvskMotorDb motors;
    motors.Load(file.Path(), file.Path());
    CTvskDataDb session;
    if (session.Load(file.Path()) == 0)
    {
        fuzz::InputFile saved(nullptr, 0, "textdb-saved");
        session.Save(saved.Path());
    }
    return 0;
}
