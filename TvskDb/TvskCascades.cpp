// The drive and motor selection cascades.
#include "TvskDriveCascade.h"
#include "TvskMotorCascade.h"

void CDriveStringToPtr::Reset()
{
    FreeLevels();
}

void CDriveStringToPtr::UpdateValues(const char* type, const char* current, const char* voltage)
{
    AddPath({type, current, voltage});
}

int CDriveStringToPtr::GetValuesFromDrive(CString type, CString& current, CString& voltage)
{
    return FirstPathBelow({type}, {&current, &voltage}) ? 1 : 0;
}

int CDriveStringToPtr::GetValuesFromCurr(CString type, CString current, CString& voltage)
{
    return FirstPathBelow({type, current}, {&voltage}) ? 1 : 0;
}

void CMotorStringToPtr::Reset()
{
    FreeLevels();
}

void CMotorStringToPtr::UpdateValues(const char* type, const char* size, const char* speed,
                                     const char* torque, const char* voltage)
{
    AddPath({type, size, speed, torque, voltage});
}

int CMotorStringToPtr::GetValuesFromType(CString type, CString& size, CString& speed, CString& torque,
                                         CString& voltage)
{
    return FirstPathBelow({type}, {&size, &speed, &torque, &voltage}) ? 1 : 0;
}

int CMotorStringToPtr::GetValuesFromSize(CString type, CString size, CString& speed, CString& torque,
                                         CString& voltage)
{
    return FirstPathBelow({type, size}, {&speed, &torque, &voltage}) ? 1 : 0;
}

int CMotorStringToPtr::GetValuesFromVel(CString type, CString size, CString speed, CString& torque,
                                        CString& voltage)
{
    return FirstPathBelow({type, size, speed}, {&torque, &voltage}) ? 1 : 0;
}

int CMotorStringToPtr::GetValuesFromTorque(CString type, CString size, CString speed, CString torque,
                                           CString& voltage)
{
    return FirstPathBelow({type, size, speed, torque}, {&voltage}) ? 1 : 0;
}
