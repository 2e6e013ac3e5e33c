// A whole program: an owning list of networks.
#pragma once

#include <ZoLumoPlcObj/PlcFBDObjList.h>

class CPlcFBDCode : public CPlcFBDObjList
{
public:
    CPlcFBDCode() : CPlcFBDObjList(false) {}

    // Writes every network into the named text file; nothing when it cannot be opened.
    void Dump(const char* fileName);
};
