// The motor selection cascade: type, size, speed, torque, voltage.
#pragma once

#include "TvskStringCascade.h"

class CMotorStringToPtr : public CStringCascade<CMotorStringToPtr>
{
public:
    // Frees every nested level and empties the map.
    virtual void Reset();
    // Adds the path, creating the missing levels.
    virtual void UpdateValues(const char* type, const char* size, const char* speed, const char* torque,
                              const char* voltage);
    // The first keys of the levels below the given parts; 1 when every level below was found.
    // Each output is set as soon as its level is found.
    virtual int GetValuesFromType(CString type, CString& size, CString& speed, CString& torque,
                                  CString& voltage);
    virtual int GetValuesFromSize(CString type, CString size, CString& speed, CString& torque,
                                  CString& voltage);
    virtual int GetValuesFromVel(CString type, CString size, CString speed, CString& torque,
                                 CString& voltage);
    virtual int GetValuesFromTorque(CString type, CString size, CString speed, CString torque,
                                    CString& voltage);
};
