#include "TvskParFileDb.h"

#include "TvskParListWriter.h"

#include <cstddef>
#include <iterator>
#include <span>

#define FIELD(T, name, type, size) {#name, type, size, static_cast<int>(offsetof(T, name))}
#define STRING(T, name) FIELD(T, name, MDB_STRING, static_cast<int>(sizeof(T::name)))
#define INTEGER(T, name) FIELD(T, name, MDB_INT, 0)
#define DOUBLE(T, name) FIELD(T, name, MDB_DOUBLE, 0)

const MEMODB_REC g_ParFields[16] = {
    STRING(DBPAR, szID),     INTEGER(DBPAR, lOpMode),  STRING(DBPAR, szRW),        DOUBLE(DBPAR, dblDefVal),
    INTEGER(DBPAR, nBitDim), INTEGER(DBPAR, nScale),   INTEGER(DBPAR, nOffs),      DOUBLE(DBPAR, dblMax),
    DOUBLE(DBPAR, dblMin),   INTEGER(DBPAR, nMenu),    STRING(DBPAR, szUm),        STRING(DBPAR, szDescr),
    INTEGER(DBPAR, idDescr), INTEGER(DBPAR, customBit), INTEGER(DBPAR, customWord), INTEGER(DBPAR, customDWord),
};

namespace {

const MEMODB_REC s_verFields[] = {STRING(DBPARVER, szParVer)};
const MEMODB_REC s_driveFields[] = {STRING(DBPARDRIVE, szDrive)};
const MEMODB_REC s_alarmFields[] = {INTEGER(DBALARM, nID), STRING(DBALARM, szDescr), INTEGER(DBALARM, idDescr)};
const MEMODB_REC s_cmdFields[] = {STRING(DBCMD, szName), STRING(DBCMD, szID), INTEGER(DBCMD, nBitDim),
                                  DOUBLE(DBCMD, dblVal)};
const MEMODB_REC s_scriptFields[] = {STRING(DBPARSCRIPT, szName)};
const MEMODB_REC s_menuFields[] = {INTEGER(DBMENU, nID), STRING(DBMENU, szDescr), INTEGER(DBMENU, idDescr)};
const MEMODB_REC s_motorDataFields[] = {STRING(DBMOTORDATA, szMotorData), STRING(DBMOTORDATA, szID)};
const MEMODB_REC s_driveDataFields[] = {STRING(DBDRIVEDATA, szDriveData), STRING(DBDRIVEDATA, szID)};
const MEMODB_REC s_commFields[] = {STRING(DBPARCOMM, szComm)};
const MEMODB_REC s_opModeFields[] = {STRING(DBOPMODEPAR, szID)};
const MEMODB_REC s_camDefFields[] = {INTEGER(DBCAMDEF, iIndex), INTEGER(DBCAMDEF, iStartAddr)};
const MEMODB_REC s_optFields[] = {STRING(DBOPT, szName), STRING(DBOPT, szPar0), STRING(DBOPT, szPar1),
                                  STRING(DBOPT, szPar2), STRING(DBOPT, szPar3), STRING(DBOPT, szPar4)};

template <class T>
std::span<const T> Span(CArray<T>& records)
{
    return {records.GetData(), static_cast<size_t>(records.GetSize())};
}

} // namespace

#define SECTION(table, fields, required, keyword, comment) \
    AddSection(table, std::data(fields), std::size(fields), required, keyword, comment)

void CParFileDb::Init()
{
    SetSeparators("\t \"");
    SetComment(";");
    SECTION(m_ver, s_verFields, 1, "VER", ";\n;\tVersione\n;\n");
    SECTION(m_par, g_ParFields, 12, "PAR", ";\n;\tParametri\n;\n");
    SECTION(m_working, g_ParFields, 16, "PARW", "");
    SECTION(m_drive, s_driveFields, 1, "DRIVE", ";\n;\tDrive\n;\n");
    SECTION(m_alarms, s_alarmFields, 1, "ALA", ";\n;\tAllarmi\n;\n");
    SECTION(m_commands, s_cmdFields, 4, "CMD", ";\n;\tComandi\n;\n");
    SECTION(m_script, s_scriptFields, 1, "SCRIPT", ";\n;\tScript\n;\n");
    SECTION(m_menus, s_menuFields, 2, "MENU", ";\n;\tmenu\n;\n");
    SECTION(m_motorData, s_motorDataFields, 2, "MOTORDATA", ";\n;\tDati motore\n;\n");
    SECTION(m_driveData, s_driveDataFields, 2, "DRIVEDATA", ";\n;\tDati drive\n;\n");
    SECTION(m_plc, g_PlcFields, 1, "PLC", ";\n;\tPLC instructions\n;\n");
    SECTION(m_comm, s_commFields, 1, "COMM", ";\n;\tCommunication settings\n;\n");
    SECTION(m_opModePar, s_opModeFields, 1, "OPMODEPAR", ";\n;\tOperation mode parameter\n;\n");
    SECTION(m_camDefs, s_camDefFields, 2, "CAMDEF", ";\n;\tCAM tables definition\n;\n");
    SECTION(m_sessionVars, g_SessVarFields, 2, "SVAR", ";\n;\tCustom variables definitions\n;\n");
    SECTION(m_options, s_optFields, 1, "OPT", ";\n;\tOptions\n;\n");
}

CRecDefIntf* CParFileDb::FindSection(const char* keyword)
{
    if (!keyword) return nullptr;
    for (int type = 0; type < RecTypes(); ++type)
    {
        CRecDefIntf* table = RecArr(type);
        if (table->Section().CompareNoCase(keyword) == 0) return table;
    }
    return nullptr;
}

int CParFileDb::WriteListing(const char* path)
{
    const CParListWriter writer(Span(m_working.Records()), Span(m_plc.Records()), Span(m_camWork));
    return writer.Write(path) ? 1 : 0;
}
