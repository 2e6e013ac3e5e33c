#include "TvskSlvFileDb.h"

#include "TvskFieldTables.h"

namespace
{

const MEMODB_REC s_valueFields[] = {
    TVSK_FIELD_INT(DBSLVVALUE, iID),
    TVSK_FIELD_INT(DBSLVVALUE, iValue),
};
const MEMODB_REC s_plcFields[] = {
    TVSK_FIELD_STR(DBSLVPLC, szIstr),
    TVSK_FIELD_AS("szOperands[ 0 ]", MDB_STRING, DBSLVPLC, szOperands[0]),
    TVSK_FIELD_AS("szOperands[ 1 ]", MDB_STRING, DBSLVPLC, szOperands[1]),
    TVSK_FIELD_AS("szOperands[ 2 ]", MDB_STRING, DBSLVPLC, szOperands[2]),
};
const MEMODB_REC s_camFields[] = {
    TVSK_FIELD_INT(DBSLVCAMPT, nIdx),
    TVSK_FIELD_DBL(DBSLVCAMPT, dblVal),
};

} // namespace

void CSlvFileDb::Init()
{
    SetSeparators("\t \":,");
    SetComment("'");
    Register(m_values, s_valueFields, "Pr", "\n'PARAMETERS' LIST :\n\n");
    Register(m_plc, s_plcFields, "PLC", "\n'LUMO-PLC PROGRAMM :\n\n", 1);
    const char* const keywords[4] = {"Pt", "Pt1", "Pt2", "Pt3"};
    const char* const comments[4] = {"\n'CAM TABLE PTS :\n\n", "\n'CAM TABLE1 PTS :\n\n",
                                     "\n'CAM TABLE2 PTS :\n\n", "\n'CAM TABLE3 PTS :\n\n"};
    for (int cam = 0; cam < 4; ++cam)
        Register(m_cams[cam], s_camFields, keywords[cam], comments[cam]);
}

CRecDef<DBSLVCAMPT>* CSlvFileDb::CamTable(long cam)
{
    return cam >= 0 && cam < 4 ? &m_cams[cam] : nullptr;
}

bool CSlvFileDb::IsEmpty() const
{
    unsigned long rows = m_values.NumRecs() + m_plc.NumRecs();
    for (const CRecDef<DBSLVCAMPT>& cam : m_cams)
        rows += cam.NumRecs();
    return rows == 0;
}
