// Index access to the twenty drive and motor data and to the encoder texts.
#pragma once

#include "TvskDbRecords.h"

class CTvskDriveData
{
public:
    virtual int GetDriveDataNum() const;
    // "D<i>" for 0 <= i < 20, else empty.
    virtual CString GetDriveRecName(int i) const;
    // Stores v in dblD<i>; nothing for a null record or another i.
    virtual void SetDriveRecVal(DBDRIVEDB* rec, int i, double v) const;
    // dblD<i>; 0.0 for a null record or another i.
    virtual double GetDriveRecVal(const DBDRIVEDB* rec, int i) const;
    virtual ~CTvskDriveData() = default;
};

class CTvskMotorData
{
public:
    virtual int GetMotorDataNum() const;
    virtual CString GetMotorRecName(int i) const;
    virtual void SetMotorRecVal(DBMOTORDB* rec, int i, double v) const;
    virtual double GetMotorRecVal(const DBMOTORDB* rec, int i) const;
    // stE<i> for 0 <= i <= 8; empty for a null record or another i.
    virtual CString GetEncoderRecVal(const DBMOTORENC* rec, int i) const;
    virtual ~CTvskMotorData() = default;
};
