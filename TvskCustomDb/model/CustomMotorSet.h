// A private copy of the user's motor records (set 2 of the motors database), edited cell by cell
// and written back only on store.
#pragma once

#include <TvskDb/TvskDbRecords.h>

#include <framework/CString.h>

#include <vector>

class CTvskMotorDb;

class CCustomMotorSet
{
public:
    static constexpr int kSet = 2;
    static constexpr int kColumns = 22;
    static constexpr int kBrakeColumn = 11;
    static constexpr int kEncoderColumn = 12;
    static constexpr int kResolverPolesColumn = 13;
    static constexpr int kAsyncColumn = 17;
    static constexpr int kIdColumn = 21;

    // Copies set 2; false (nothing to store afterwards) without a database or with a missing record.
    bool Load(CTvskMotorDb* db);
    // Makes set 2 equal to the copy and saves it; false keeps the copy modified.
    bool Store();
    // Why the last Store failed to save the file.
    CString StoreError() const;

    int GetCount() const noexcept { return static_cast<int>(m_Records.size()); }
    const DBMOTORDB& GetRecord(int row) const { return m_Records[static_cast<size_t>(row)]; }
    bool IsModified() const noexcept { return m_bModified; }

    // The cell's text; empty for rows beyond the records and hidden asynchronous cells.
    CString GetText(int row, int col) const;
    // Refuses rows beyond the records, numbers that are not numbers, "^" in texts and IDs outside
    // 30000 to 32767.
    bool SetText(int row, int col, const char* text);
    // The list columns (brake, encoder, asynchronous) as integers.
    bool GetInt(int row, int col, int& value) const;
    // Setting the asynchronous column also sets the resolver poles to 2.
    bool SetInt(int row, int col, int value);
    bool AllowEdit(int row, int col) const;

    void Append();
    bool Delete(int row);

private:
    double* Number(int row, int col);
    const double* Number(int row, int col) const;
    char* Text(int row, int col);
    bool IsAsync(int row) const;

    CTvskMotorDb* m_pDb = nullptr; // not owned
    std::vector<DBMOTORDB> m_Records;
    bool m_bLoaded = false;
    bool m_bModified = false;
};
