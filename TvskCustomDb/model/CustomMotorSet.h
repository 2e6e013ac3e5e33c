// A private copy of the user's motor records (set 2 of the motors database), edited cell by cell
// and written back only on store.
#pragma once

#include <TvskDb/TvskDbRecords.h>

#include <framework/CString.h>

#include <vector>

class CTvskMotorDb;

// Why a cell refused a text.
enum class CellRefusal
{
    None,
    NotANumber,
    IdOutOfRange,
    Other // a row beyond the records, or "^" (the separator of the motor definition) in a text
};

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
    static constexpr int kFirstId = 30000; // the motor codes of user motors
    static constexpr int kLastId = 32767;

    // Copies set 2; false (nothing to store afterwards) without a database or with a missing record.
    bool Load(CTvskMotorDb* db);
    // Makes set 2 equal to the copy and saves it; false keeps the copy modified. Nothing is stored
    // while a motor's ID lies outside the users' range.
    bool Store();
    // The first row whose ID lies outside kFirstId to kLastId, or -1.
    int FirstRowWithBadId() const;
    // Why the last Store failed to save the file.
    CString StoreError() const;

    int GetCount() const noexcept { return static_cast<int>(m_Records.size()); }
    const DBMOTORDB& GetRecord(int row) const { return m_Records[static_cast<size_t>(row)]; }
    bool IsModified() const noexcept { return m_bModified; }

    // The cell's text; empty for rows beyond the records and hidden asynchronous cells.
    CString GetText(int row, int col) const;
    // Refuses rows beyond the records, numbers that are not numbers, "^" in texts and IDs outside
    // 30000 to 32767, telling why in refusal when given.
    bool SetText(int row, int col, const char* text, CellRefusal* refusal = nullptr);
    // The list columns (brake, encoder, asynchronous) as integers.
    bool GetInt(int row, int col, int& value) const;
    // Setting the asynchronous column also sets the resolver poles to 2.
    bool SetInt(int row, int col, int value);
    bool AllowEdit(int row, int col) const;

    // A zeroed motor with the first ID of the users' range that no motor of the set holds (0 when
    // every one is taken, which the store then refuses).
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
