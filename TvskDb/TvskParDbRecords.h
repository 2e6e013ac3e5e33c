// Records of the parameter database that no other database holds.
#pragma once

#include <framework/WinTypes.h>

// One parameter definition; the fields after idDescr are kept at run time only, except the
// three custom columns.
struct DBPAR
{
    char szID[17];
    LONG lOpMode; // negative: common to every operating mode; low 16 bits name the mode
    char szRW[3];
    double dblDefVal;
    int nBitDim;
    int nScale;
    int nOffs;
    double dblMin;
    double dblMax;
    int nMenu; // -1: in no menu
    char szUm[17];
    char szDescr[201];
    int idDescr;
    int bDescrMod;
    int nAddr;
    int nSubAddr;
    int nFormat;
    int bTmp;
    int customBit;
    int customWord;
    int customDWord;
};

struct DBALARM
{
    int nID;
    char szDescr[201];
    int idDescr;
};

struct DBMENU
{
    int nID;
    char szDescr[201];
    int idDescr;
};

// A drive command: a value written to (or, for "Alarm" and "DriveType", read from) an address.
struct DBCMD
{
    char szName[21];
    char szID[17];
    double dblVal;
    int nAddr;
    int nSubAddr;
    int nBitDim;
};

struct DBOPT
{
    char szName[51];
    char szPar0[261];
    char szPar1[261];
    char szPar2[261];
    char szPar3[261];
    char szPar4[261];
};

struct DBCAMDEF
{
    int iIndex;
    int iStartAddr;
};

// Single-column sections.
struct DBPARDRIVE
{
    char szDrive[21];
};

struct DBPARSCRIPT
{
    char szName[261];
};

struct DBOPMODEPAR
{
    char szID[17];
};

// A motor or drive datum key ("D0".."D19") and the parameter it sets.
struct DBMOTORDATA
{
    char szMotorData[11];
    char szID[17];
};

struct DBDRIVEDATA
{
    char szDriveData[11];
    char szID[17];
};
