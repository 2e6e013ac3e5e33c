#include "TvskSlvFileDb.h"

#include <cstddef>
#include <iterator>

namespace {

#define FIELD(T, name, column, type, size) {column, type, size, static_cast<int>(offsetof(T, name))}

const MEMODB_REC s_valueFields[] = {
    FIELD(DBSLVVALUE, iID, "iID", MDB_INT, 0),
    FIELD(DBSLVVALUE, iValue, "iValue", MDB_INT, 0),
};
const MEMODB_REC s_plcFields[] = {
    FIELD(DBSLVPLC, szIstr, "szIstr", MDB_STRING, 101),
    FIELD(DBSLVPLC, szOperands[0], "szOperands[ 0 ]", MDB_STRING, 7),
    FIELD(DBSLVPLC, szOperands[1], "szOperands[ 1 ]", MDB_STRING, 7),
    FIELD(DBSLVPLC, szOperands[2], "szOperands[ 2 ]", MDB_STRING, 7),
};
const MEMODB_REC s_camFields[] = {
    FIELD(DBSLVCAMPT, nIdx, "nIdx", MDB_INT, 0),
    FIELD(DBSLVCAMPT, dblVal, "dblVal", MDB_DOUBLE, 0),
};

} // namespace

void CSlvFileDb::Init()
{
    SetSeparators("\t \":,");
    SetComment("'");
    m_values.Init(s_valueFields, static_cast<int>(std::size(s_valueFields)));
    RegisterSection(m_values, "Pr", "\n'PARAMETERS' LIST :\n\n");
    m_plc.Init(s_plcFields, static_cast<int>(std::size(s_plcFields)));
    RegisterSection(m_plc, "PLC", "\n'LUMO-PLC PROGRAMM :\n\n");
    m_plc.SetNumRqFields(1);
    const char* const keywords[4] = {"Pt", "Pt1", "Pt2", "Pt3"};
    const char* const comments[4] = {"\n'CAM TABLE PTS :\n\n", "\n'CAM TABLE1 PTS :\n\n", "\n'CAM TABLE2 PTS :\n\n",
                                     "\n'CAM TABLE3 PTS :\n\n"};
    for (int cam = 0; cam < 4; ++cam)
    {
        m_cams[cam].Init(s_camFields, static_cast<int>(std::size(s_camFields)));
        RegisterSection(m_cams[cam], keywords[cam], comments[cam]);
    }
}

CRecDef<DBSLVCAMPT>* CSlvFileDb::CamTable(long cam)
{
    return cam >= 0 && cam < 4 ? &m_cams[cam] : nullptr;
}
