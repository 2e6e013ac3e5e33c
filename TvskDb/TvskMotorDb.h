// The motors and encoders catalogue: standard and user files merged, and the choice of a motor.
#pragma once

#include <TvskDb/TvskDbErrString.h>
#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskDriveData.h>
#include <TvskDb/TvskMotorCascade.h>

#include <memory>

class CMotorFileDb;

// Record sets: 0 the merged set every choice works on, 1 the standard file, 2 the user's file.
class CTvskMotorDb : public CTvskMotorData, public CTvskDbErrString
{
public:
    CTvskMotorDb();
    CTvskMotorDb(const CTvskMotorDb&) = delete;
    CTvskMotorDb& operator=(const CTvskMotorDb&) = delete;
    ~CTvskMotorDb() override;

    // 0 loaded, 1 out of memory, 2 parse error in either file (error text set), 3 the standard
    // file cannot be opened or read. A user file that does not load leaves no set 2.
    int Load(const char* standardPath, const char* customPath);
    bool Close();
    void ResetAll();
    bool IsOpen() const;
    // The standard file's version, "n/a" when none.
    CString GetVersion();

    long GetRecordsNum(int set);
    DBMOTORDB* GetRecord(int i, int set);
    int GetEncNumRecs();
    DBMOTORENC* GetEncRecord(int i);

    // Each choice rebuilds the view and parameter strings and selects the matching record; a
    // part without a record takes the first parts below it from the cascade.
    void SetCurrType(const char* type);
    void SetCurrSize(const char* size);
    void SetCurrVel(const char* speed);
    void SetCurrTorque(const char* torque);
    void SetCurrVoltage(const char* voltage);
    void SetCurrEncoder(const char* code);
    void SelectCurrRecordEnc();
    // Chooses the first motor whose code (D12) is code.
    bool SelectCurrRecordFromType(long code);
    // Chooses the first encoder whose numeric code (stE1) is code; enable false clears it.
    bool SelectCurrEncRecordFromType(long code, bool enable);
    // clear empties the choice and its saved copy; else restore brings the saved copy back or
    // the choice is saved.
    void SetCurrMotorData(bool restore, bool clear);
    void ResetCurrRec() { m_pCurrRecord = nullptr; }
    void ResetCurrEnc() { m_pCurrEncoder = nullptr; }

    CString GetCurrType() const { return m_parts[0]; }
    CString GetCurrSize() const { return m_parts[1]; }
    CString GetCurrVel() const { return m_parts[2]; }
    CString GetCurrTorque() const { return m_parts[3]; }
    CString GetCurrVoltage() const { return m_parts[4]; }
    DBMOTORDB* GetCurrRecord() const { return m_pCurrRecord; }
    DBMOTORENC* GetCurrEncoder() const { return m_pCurrEncoder; }
    bool IsEncoder() const { return m_bEncoder; }
    CString GetViewString() const { return m_strView; }
    void CreateViewString();

    CMapStringToPtr* GetTypeMap() { return &m_cascade; }
    CMapStringToPtr* GetSizeMap() { return LevelMap(1); }
    CMapStringToPtr* GetVelMap() { return LevelMap(2); }
    CMapStringToPtr* GetTorqueMap() { return LevelMap(3); }
    CMapStringToPtr* GetVoltageMap() { return LevelMap(4); }

    CString GetMotorImage(const char* type);
    CString GetCurrMotorImage() { return GetMotorImage(m_parts[0]); }
    CString GetCurrEncodValue(int i) const;

    // Editing of set 1 or 2 (the custom motor window uses set 2).
    bool InsertRecord(int set);
    bool RemoveRecord(int set);
    // Stores the set to its file, then loads both files again; every record handed out before
    // is invalid afterwards. A failed store leaves its reason in GetErrorString.
    bool Save(int set);

private:
    static constexpr int kParts = 5;

    CMotorFileDb* Set(int set) const;
    void Merge();
    void MergeCustom(const CString& customPicture);
    void Choose();
    void ChooseFrom(int changed);
    void CreateParString();
    void SelectCurrRecord();
    long CurrentMergedIndex() const;
    void RepointMerged(long current);
    CMapStringToPtr* LevelMap(int depth);

    std::unique_ptr<CMotorFileDb> m_sets[3];
    int m_bOpen = 0;
    CString m_strStandardPath;
    CString m_strCustomPath;
    CMapStringToPtr m_definitions{10};
    CString m_parts[kParts];
    CString m_savedParts[kParts];
    CString m_strEncoderCode;
    CString m_strView;
    CString m_strParString;
    DBMOTORDB* m_pCurrRecord = nullptr;
    DBMOTORENC* m_pCurrEncoder = nullptr;
    bool m_bEncoder = false;
    CMotorStringToPtr m_cascade;
};
