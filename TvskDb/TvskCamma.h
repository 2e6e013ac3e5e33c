// One cam point, as the session data and the parameter database's work cam table hold it.
#pragma once

struct DBCAMMA
{
    int nIdx;
    double dblVal;
    int interp;
    int nCamNo;
};
