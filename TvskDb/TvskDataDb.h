// The user's session data file: chosen drive, motor and encoder, values, lists and settings.
#pragma once

#include <TvskDb/TvskDataRecords.h>
#include <TvskDb/TvskDbErrString.h>
#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskDriveData.h>

#include <memory>

class CDataFileDb;

class CTvskDataDb : public CTvskMotorData, public CTvskDriveData, public CTvskDbErrString
{
public:
    CTvskDataDb();
    CTvskDataDb(const CTvskDataDb&) = delete;
    CTvskDataDb& operator=(const CTvskDataDb&) = delete;
    ~CTvskDataDb() override;

    // 0, or -1 when already open or out of memory.
    int Create();
    // 0 loaded, 1 out of memory, 2 parse error (error text set), 3 cannot open or read.
    int Load(const char* path);
    // 0 stored, 4 store failed, -1 not open.
    int Save(const char* path);
    int Close();
    int IsOpen() const { return m_bOpen; }

    int SetDriveData(const DBDRIVEDB* rec);
    int SetMotorData(const DBMOTORDB* rec);
    int SetEncoderData(const DBMOTORENC* rec);
    DBDRIVEDB* GetDriveData();
    DBMOTORDB* GetMotorData();
    DBMOTORENC* GetEncoderData();
    const char* GetDrive();
    const char* GetMotor();
    int SetCommSettings(const char* settings);
    const char* GetCommSettings();
    int SetLanguage(const char* name);
    const char* GetLanguage();

    CString GetMotorType() const { return m_strMotorType; }
    CString GetMotorSize() const { return m_strMotorSize; }
    CString GetMotorVel() const { return m_strMotorVel; }
    CString GetMotorTorque() const { return m_strMotorTorque; }
    CString GetMotorVoltage() const { return m_strMotorVoltage; }
    CString GetDriveType() const { return m_strDriveType; }
    CString GetDriveTypeComplete() const { return m_strDriveDef; }
    CString GetDriveCurrent() const { return m_strDriveCurrent; }
    CString GetDriveVoltage() const { return m_strDriveVoltage; }
    CString GetMotorImg() const { return m_strMotorImg; }
    CString GetDriveImg() const { return m_strDriveImg; }
    void SetDriveType(const char* type) { m_strDriveType = type; }
    void SetMotorImg(CString path) { m_strMotorImg = path; }
    void SetDriveImg(CString path) { m_strDriveImg = path; }
    CString GetMotorString();
    CString GetDriveString() const;
    static bool IsRoventar(CString text);

    long GetValNums();
    DBVALUE* GetValue(long i);
    int SetValue(const char* id, double value, int format);
    void ResetValues();

    long GetTmpValuesNum();
    DBTMPVALUE* GetTmpValue(long i);
    int SetTmpValue(const char* id, const char* descr, double value);
    void ResetTmpValues();

    long GetMonitorParNums();
    DBMONITOR* GetMonitorPar(long i);
    int SetMonitorPar(const char* id);
    void ResetMonitor();

    long GetInstrNums();
    DBPLC* GetInstruction(long i);
    int SetInstruction(long i, DBPLC rec);
    void ResetDataPlc();

    int SetDescr(const char* id, const char* text);
    const char* GetDescr(const char* id);

    long GetCammaNums();
    DBCAMMA* GetCam(long i);
    int SetCammaData(long idx, double value, int interp, int camNo);
    int GetCammaData(long idx, double& value, int& interp, int camNo);
    void ResetCammaData();

    long GetSessionVarNum();
    DBSESSVAR* GetSessionVar(long i);
    int SetSessionVar(const DBSESSVAR* var);
    void ResetSessionVars();

private:
    CDataFileDb* Db();
    void PostLoad();
    void SplitMotorDef();
    void SplitDriveDef();

    CString m_strMotorType;
    CString m_strMotorSize;
    CString m_strMotorVel;
    CString m_strMotorTorque;
    CString m_strMotorVoltage;
    CString m_strDriveType;
    CString m_strDriveDef;
    CString m_strDriveCurrent;
    CString m_strDriveVoltage;
    CString m_strMotorImg;
    CString m_strDriveImg;
    std::unique_ptr<CDataFileDb> m_db;
    int m_bOpen = 0;
};
