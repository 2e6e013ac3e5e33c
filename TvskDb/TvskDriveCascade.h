// The drive selection cascade: drive type, rated current, supply voltage.
#pragma once

#include "TvskStringCascade.h"

class CDriveStringToPtr : public CStringCascade<CDriveStringToPtr>
{
public:
    // Frees every nested level and empties the map.
    virtual void Reset();
    // Adds the path type, current, voltage; an existing path stays as it is.
    virtual void UpdateValues(const char* type, const char* current, const char* voltage);
    // First current of the type and first voltage of that current; 1 when both were found.
    virtual int GetValuesFromDrive(CString type, CString& current, CString& voltage);
    // First voltage of the type's current; 1 when found.
    virtual int GetValuesFromCurr(CString type, CString current, CString& voltage);
};
