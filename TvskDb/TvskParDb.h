// The parameter definitions of one drive type, read from its ".par" file, with the working table
// of the current operating mode, the menu list, the PLC program, custom variables and cam points.
#pragma once

#include <TvskDb/TvskDataRecords.h>
#include <TvskDb/TvskDbErrString.h>
#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskParDbRecords.h>

#include <framework/CString.h>

#include <map>
#include <memory>
#include <vector>

class CParFileDb;

class CTvskParDb : public CTvskDbErrString
{
public:
    CTvskParDb();
    CTvskParDb(const CTvskParDb&) = delete;
    CTvskParDb& operator=(const CTvskParDb&) = delete;
    virtual ~CTvskParDb();

    // 0 loaded, 1 no memory, 2 syntax error (error text set), 3 file cannot be opened or read.
    int Load(const char* path);
    int Close();
    int IsOpen() const { return m_bOpen; }
    // Writes the parameter listing: 0 written, 4 not written (an existing file stays), -1 not loaded.
    int Save(const char* path);

    // Working table (true) or menu list (false).
    long GetParNum(bool working) const;
    DBPAR* GetPar(long i, bool working);
    DBPAR* GetPar(const char* id, bool working);
    unsigned short GetOpMode() const;
    int IsOpModePar(const char* id) const;
    void UpdateListAllPar();
    int SetMenu(int menu);
    int GetCurrMenuID() const { return m_nCurrMenu; }
    long GetMenusNum() const;
    DBMENU* GetMenu(int i);
    int Sort();
    void ResetModDescrFlag();
    int AddTmpPar(DBPAR& par);
    int RemTmpPar(DBPAR& par);

    void BackupPars();
    void RestorePars();
    long GetBackupParNum() const;
    DBPAR* GetBackupPar(long i);
    DBPAR* GetBackupPar(const char* id);

    // Generic field access; section "PAR" (exact) is the working table.
    CString GetField(const char* section, const char* field, long rec);
    int SetField(const char* section, const char* field, long rec, const char* text);

    CString GetVersion() const;
    const char* GetDrive() const;
    CString GetScriptFile() const;
    const char* GetCommSettings() const;
    void SetCommSettings(const char* text);
    long GetAlarmsNum() const;
    DBALARM* GetAlarm(int i);
    DBALARM* GetAlarmFromID(int id);
    DBCMD* GetCmdPar(const char* name);
    int GetOptionsNum() const;
    DBOPT* GetOption(const char* name);
    DBOPT* GetOption(int i);
    void SetMotorData(const char* key, double value);
    void SetDriveData(const char* key, double value);

    // PLC program and its backup.
    void ResetParPlc();
    long GetInstrNum() const;
    DBPLC* GetPlcInstr(int i);
    DBPLC* AllocatePlcInstr(int i);
    void BackupPlc();
    void RestorePlc();
    long GetBackupInstrNum() const;
    DBPLC* GetBackupPlcInstr(int i);

    // Custom variables.
    long GetSessionVarNum() const;
    DBSESSVAR* GetSessionVar(int i);
    DBSESSVAR* GetSessionVar(const char* name, int* index);
    int SetSessionVar(DBSESSVAR* var, bool add);
    int DeleteSessionVar(int i);
    int DeleteSessionVar(const char* name);
    void ResetSessionVars();

    // Cam definitions and the work cam table.
    long GetCamDefNum() const;
    DBCAMDEF* GetCamDefPar(int i);
    long GetCamWorkNum() const;
    DBCAMMA* GetCam(long i);
    void ResetCamData();
    int SetCamData(long index, double value, int interpolation, int cam);

private:
    // The file database, or null (reported as a program error) while closed.
    CParFileDb* FileDb(int line) const;
    void PostLoad();
    void BuildOpModeLists();

    std::unique_ptr<CParFileDb> m_pDb;
    // Menu list: indices into the working table, so growing the table never leaves them dangling.
    std::vector<long> m_menuList;
    // Operating mode -> indices of its PAR records, in file order.
    std::map<unsigned short, std::vector<long>> m_opModeLists;
    int m_bOpen = 0;
    int m_nCurrMenu = 0;
};
