// Rows that several database files hold in the same layout (internal).
#pragma once

// Picture of a drive or motor type.
struct DBIMAGE
{
    char szType[61];
    char szPath[261];
};

// Version of a database file; each file names its column differently.
struct DBVERSION
{
    char szVer[21];
};
