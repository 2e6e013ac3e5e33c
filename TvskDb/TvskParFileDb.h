// The private text database of the parameter database: the sixteen sections of a ".par" file and
// the three tables that never come from it.
#pragma once

#include <TvskDb/TvskDataRecords.h>
#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskParDbRecords.h>

#include "TvskFileRecords.h"
#include "TvskTable.h"

#include <framework/Array.h>

class CParFileDb : public CTvskTextDb
{
public:
    // The table of that section keyword (compared without regard to case), null when none.
    CRecDefIntf* FindSection(const char* keyword);
    // Writes the listing of the working table, PLC rows and work cam points: 1 written, 0 not.
    int WriteListing(const char* path);

    CRecDef<DBVERSION> m_ver;
    CRecDef<DBPAR> m_par;
    CRecDef<DBPAR> m_working; // section PARW
    CRecDef<DBPARDRIVE> m_drive;
    CRecDef<DBALARM> m_alarms;
    CRecDef<DBCMD> m_commands;
    CRecDef<DBPARSCRIPT> m_script;
    CRecDef<DBMENU> m_menus;
    CRecDef<DBMOTORDATA> m_motorData;
    CRecDef<DBDRIVEDATA> m_driveData;
    CRecDef<DBPLC> m_plc;
    CRecDef<DBCOMM> m_comm;
    CRecDef<DBOPMODEPAR> m_opModePar;
    CRecDef<DBCAMDEF> m_camDefs;
    CRecDef<DBSESSVAR> m_sessionVars;
    CRecDef<DBOPT> m_options;

    CArray<DBPAR> m_backupPars;
    CArray<DBPLC> m_backupPlc;
    CArray<DBCAMMA> m_camWork;

protected:
    void Init() override;
};

// Column table of the parameter sections PAR and PARW, in file order.
extern const MEMODB_REC g_ParFields[16];
