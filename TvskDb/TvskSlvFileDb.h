// The private text database of the listing reader: values, PLC lines and cam tables 0-3.
#pragma once

#include "TvskTable.h"

#include <TvskDb/TvskSlvDataDb.h>

class CSlvFileDb : public CTvskTextDb
{
public:
    // Cam table 0-3, null for any other number.
    CRecDef<DBSLVCAMPT>* CamTable(long cam);
    // No row in any section.
    bool IsEmpty() const;

    CRecDef<DBSLVVALUE> m_values;
    CRecDef<DBSLVPLC> m_plc;
    CRecDef<DBSLVCAMPT> m_cams[4];

protected:
    void Init() override;
};
