// Reader of ".slv" parameter listings: raw values by address, the PLC program as text, cams 0-3.
#pragma once

#include <TvskDb/TvskDbErrString.h>

#include <memory>

struct DBSLVVALUE
{
    int iID;    // drive address
    int iValue; // raw value
};

struct DBSLVPLC
{
    char szIstr[101];
    char szOperands[3][7];
};

struct DBSLVCAMPT
{
    int nIdx;
    double dblVal;
};

class CSlvFileDb;

class CTvskSlvDataDb : public CTvskDbErrString
{
public:
    CTvskSlvDataDb();
    // Copies share the loaded listing.
    CTvskSlvDataDb(const CTvskSlvDataDb& other);
    CTvskSlvDataDb& operator=(const CTvskSlvDataDb& other);
    virtual ~CTvskSlvDataDb();

    // 0 loaded, 1 no memory, 2 no temporary copy or a syntax error (error text set),
    // 3 the listing cannot be opened or read.
    int Load(const char* path);
    // 0 an empty listing is open; -1 already open.
    int Create();
    int Close();
    int IsOpen() const { return m_bOpen; }

    long GetValNums() const;
    DBSLVVALUE* GetValue(long i);
    long GetInstrNums() const;
    DBSLVPLC* GetInstruction(long i);
    // The value of the first point of that index in cam table 0-3; 0 when there is none.
    int GetCammaData(long cam, long index, double& value) const;

private:
    void SetError(int line, int type, const char* info, const char* fileName);

    std::shared_ptr<CSlvFileDb> m_pDb;
    int m_bOpen = 0;
};
