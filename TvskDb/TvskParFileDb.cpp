#include "TvskParFileDb.h"

#include "TvskParListWriter.h"

#include "TvskFieldTables.h"

#include <span>

const MEMODB_REC g_ParFields[16] = {
    TVSK_FIELD_STR(DBPAR, szID),        TVSK_FIELD_INT(DBPAR, lOpMode),   TVSK_FIELD_STR(DBPAR, szRW),
    TVSK_FIELD_DBL(DBPAR, dblDefVal),   TVSK_FIELD_INT(DBPAR, nBitDim),   TVSK_FIELD_INT(DBPAR, nScale),
    TVSK_FIELD_INT(DBPAR, nOffs),       TVSK_FIELD_DBL(DBPAR, dblMax),    TVSK_FIELD_DBL(DBPAR, dblMin),
    TVSK_FIELD_INT(DBPAR, nMenu),       TVSK_FIELD_STR(DBPAR, szUm),      TVSK_FIELD_STR(DBPAR, szDescr),
    TVSK_FIELD_INT(DBPAR, idDescr),     TVSK_FIELD_INT(DBPAR, customBit), TVSK_FIELD_INT(DBPAR, customWord),
    TVSK_FIELD_INT(DBPAR, customDWord),
};

namespace
{

const MEMODB_REC s_verFields[] = {TVSK_FIELD_AS("szParVer", MDB_STRING, DBVERSION, szVer)};
const MEMODB_REC s_driveFields[] = {TVSK_FIELD_STR(DBPARDRIVE, szDrive)};
const MEMODB_REC s_alarmFields[] = {TVSK_FIELD_INT(DBALARM, nID), TVSK_FIELD_STR(DBALARM, szDescr),
                                    TVSK_FIELD_INT(DBALARM, idDescr)};
const MEMODB_REC s_cmdFields[] = {TVSK_FIELD_STR(DBCMD, szName), TVSK_FIELD_STR(DBCMD, szID),
                                  TVSK_FIELD_INT(DBCMD, nBitDim), TVSK_FIELD_DBL(DBCMD, dblVal)};
const MEMODB_REC s_scriptFields[] = {TVSK_FIELD_STR(DBPARSCRIPT, szName)};
const MEMODB_REC s_menuFields[] = {TVSK_FIELD_INT(DBMENU, nID), TVSK_FIELD_STR(DBMENU, szDescr),
                                   TVSK_FIELD_INT(DBMENU, idDescr)};
const MEMODB_REC s_motorDataFields[] = {TVSK_FIELD_STR(DBMOTORDATA, szMotorData),
                                        TVSK_FIELD_STR(DBMOTORDATA, szID)};
const MEMODB_REC s_driveDataFields[] = {TVSK_FIELD_STR(DBDRIVEDATA, szDriveData),
                                        TVSK_FIELD_STR(DBDRIVEDATA, szID)};
const MEMODB_REC s_commFields[] = {TVSK_FIELD_STR(DBCOMM, szComm)};
const MEMODB_REC s_opModeFields[] = {TVSK_FIELD_STR(DBOPMODEPAR, szID)};
const MEMODB_REC s_camDefFields[] = {TVSK_FIELD_INT(DBCAMDEF, iIndex), TVSK_FIELD_INT(DBCAMDEF, iStartAddr)};
const MEMODB_REC s_optFields[] = {TVSK_FIELD_STR(DBOPT, szName), TVSK_FIELD_STR(DBOPT, szPar0),
                                  TVSK_FIELD_STR(DBOPT, szPar1), TVSK_FIELD_STR(DBOPT, szPar2),
                                  TVSK_FIELD_STR(DBOPT, szPar3), TVSK_FIELD_STR(DBOPT, szPar4)};

template <class T> std::span<const T> Span(CArray<T>& records)
{
    return {records.GetData(), static_cast<size_t>(records.GetSize())};
}

} // namespace

void CParFileDb::Init()
{
    UseDatabaseSyntax();
    Register(m_ver, s_verFields, "VER", ";\n;\tVersione\n;\n");
    Register(m_par, g_ParFields, "PAR", ";\n;\tParametri\n;\n", 12);
    Register(m_working, g_ParFields, "PARW", "");
    Register(m_drive, s_driveFields, "DRIVE", ";\n;\tDrive\n;\n");
    Register(m_alarms, s_alarmFields, "ALA", ";\n;\tAllarmi\n;\n", 1);
    Register(m_commands, s_cmdFields, "CMD", ";\n;\tComandi\n;\n");
    Register(m_script, s_scriptFields, "SCRIPT", ";\n;\tScript\n;\n");
    Register(m_menus, s_menuFields, "MENU", ";\n;\tmenu\n;\n", 2);
    Register(m_motorData, s_motorDataFields, "MOTORDATA", ";\n;\tDati motore\n;\n");
    Register(m_driveData, s_driveDataFields, "DRIVEDATA", ";\n;\tDati drive\n;\n");
    Register(m_plc, g_PlcFields, "PLC", ";\n;\tPLC instructions\n;\n", 1);
    Register(m_comm, s_commFields, "COMM", ";\n;\tCommunication settings\n;\n");
    Register(m_opModePar, s_opModeFields, "OPMODEPAR", ";\n;\tOperation mode parameter\n;\n");
    Register(m_camDefs, s_camDefFields, "CAMDEF", ";\n;\tCAM tables definition\n;\n");
    Register(m_sessionVars, g_SessVarFields, "SVAR", ";\n;\tCustom variables definitions\n;\n");
    Register(m_options, s_optFields, "OPT", ";\n;\tOptions\n;\n", 1);
}

CRecDefIntf* CParFileDb::FindSection(const char* keyword)
{
    if (!keyword)
        return nullptr;
    for (int type = 0; type < RecTypes(); ++type)
    {
        CRecDefIntf* table = RecArr(type);
        if (table->Section().CompareNoCase(keyword) == 0)
            return table;
    }
    return nullptr;
}

int CParFileDb::WriteListing(const char* path)
{
    const CParListWriter writer(Span(m_working.Records()), Span(m_plc.Records()), Span(m_camWork));
    return writer.Write(path) ? 1 : 0;
}
