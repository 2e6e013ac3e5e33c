// Dump of a whole program.
#include "PlcFBDCode.h"

#include "PlcFBDDump.h"

void CPlcFBDCode::Dump(const char* fileName)
{
    if (!fileName || !PlcDump::Open(fileName))
        return;
    PlcDump::Indent();
    PlcDump::Write("\n\n***** FBD CODE DUMPING *****\n\n");
    PlcDump::SetDepth(0);
    // An empty program has nothing between its banners.
    if (!IsEmpty())
        CPlcFBDObjList::Dump(true);
    PlcDump::Indent();
    PlcDump::Write("\n\n***** FBD CODE END DUMP *****\n\n");
    PlcDump::Close();
}
