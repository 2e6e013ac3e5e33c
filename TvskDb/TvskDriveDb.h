// The drives catalogue and the three-step choice of a drive (type, rated current, voltage).
#pragma once

#include <TvskDb/TvskDbErrString.h>
#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskDriveCascade.h>
#include <TvskDb/TvskDriveData.h>
#include <TvskDb/TvskDriveRecords.h>

#include <memory>

class CDriveFileDb;

class CTvskDriveDb : public CTvskDriveData, public CTvskDbErrString
{
public:
    CTvskDriveDb();
    CTvskDriveDb(const CTvskDriveDb&) = delete;
    CTvskDriveDb& operator=(const CTvskDriveDb&) = delete;
    ~CTvskDriveDb() override;

    // 0 loaded, 1 out of memory, 2 parse error (error text set), 3 cannot open or read.
    int Load(const char* path);
    int Close();
    int IsOpen() const;
    // The file's version, "n/a" when none.
    CString GetVersion();

    long GetRecordsNum();
    long GetExtendedRecordsNum();
    long GetDrivesTypesNum();
    long GetDrivesAliasNum();
    long GetDrivesFamilyNum();
    long GetMotorParRecNum();
    long GetEncoderParRecNum();
    DBDRIVETYPE* GetDriveType(long i);
    DBDRIVEALIAS* GetDriveAlias(long i);
    DBDRIVEFAMILY* GetDriveFamily(long i);
    DBDRIVEMOTPAR* GetMotorParRec(long i);
    DBENCMOTPAR* GetEncoderParRec(long i);

    // Each choice rebuilds the view and parameter strings and selects the matching record.
    void SetCurrDrive(const char* type);
    // As SetCurrDrive; 1 when a record matched.
    int SetCurrDriveBool(const char* type);
    void SetCurrCurrent(const char* current);
    void SetCurrVoltage(const char* voltage);
    // false saves the choice, true brings the saved choice back.
    void SetCurrDriveData(bool restore);
    // Chooses the first drive whose code (D5) is code.
    bool SelectCurrRecordFromType(long code);

    CString GetCurrDrive() const { return m_strType; }
    CString GetCurrCurrent() const { return m_strCurrent; }
    CString GetCurrVoltage() const { return m_strVoltage; }
    DBDRIVEDB* GetCurrRecord() const { return m_pCurrRecord; }
    CString GetViewString() const { return m_strView; }
    void CreateViewString();

    CMapStringToPtr* GetDriveMap() { return &m_cascade; }
    CMapStringToPtr* GetCurrentMap();
    CMapStringToPtr* GetVoltageMap();

    CString GetDriveImage(const char* definition);
    CString GetCurrDriveImage() { return GetDriveImage(m_strParString); }
    bool IsDriveWithMotor(CString definition);

private:
    CDriveFileDb* Db() const;
    void PostLoad();
    void EnterRows(bool extended);
    void Choose();
    void CreateParString();
    void SelectCurrRecord();

    std::unique_ptr<CDriveFileDb> m_db;
    int m_bOpen = 0;
    CMapStringToPtr m_definitions{10};
    CString m_strType;
    CString m_strCurrent;
    CString m_strVoltage;
    CString m_strSavedType;
    CString m_strSavedCurrent;
    CString m_strSavedVoltage;
    CString m_strView;
    CString m_strParString;
    DBDRIVEDB* m_pCurrRecord = nullptr;
    CDriveStringToPtr m_cascade;
};
