// Reports of broken invariants in the graph objects, all under the source name "PlcFBDObject".
#pragma once

#include <ZoSupport/ZoSupport.h>

inline void PlcObjectError(int line)
{
    ProgramError("PlcFBDObject", line, nullptr);
}
