// Records of the session data file that other databases share.
#pragma once

// One changed description text of a parameter; the string databases use nOpMode too.
struct DBSTRING
{
    char strID[17];
    char strDef[301];
    int nOpMode;
};

// One point of a cam table, identified by (nIdx, nCamNo).
struct DBCAMMA
{
    int nIdx;
    double dblVal;
    int interp;
    int nCamNo;
};

struct DBVALUE
{
    char szID[17];
    double dblValue;
    int iFormat; // -1 when the caller has none
};

struct DBTMPVALUE
{
    char szID[17];
    char szDescr[201];
    double dblValue;
};

struct DBMONITOR
{
    char szID[17];
};

struct DBLANGUAGE
{
    char szName[6];
};

struct DBCOMM
{
    char szComm[101];
};
