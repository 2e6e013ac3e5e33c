// Records of the drives file besides the drive rows.
#pragma once

#include <framework/WinTypes.h>

// Numeric code that a drive reports, and the name of its drive type.
struct DBDRIVETYPE
{
    LONG lType;
    char szName[51];
};

// Another name for a drive type.
struct DBDRIVEALIAS
{
    char szType[61];
    char szAlias[61];
};

// A drive type that belongs to a family.
struct DBDRIVEFAMILY
{
    char Family[61];
    char DriveName[61];
};

// The parameter that holds the motor code on a drive type.
struct DBDRIVEMOTPAR
{
    char szType[61];
    char szMotPar[17];
};

// The parameter that holds the encoder code on a drive type.
struct DBENCMOTPAR
{
    char szType[61];
    char szEncPar[17];
};
