// Field map of one section: converts the fields of a fixed-layout record to and from text.
#pragma once

#include <framework/CString.h>

enum MemoDbType
{
    MDB_NONE = 0,
    MDB_INT = 1,    // 32-bit signed integer
    MDB_DOUBLE = 2, // double
    MDB_STRING = 3  // zero-terminated char array of nSize bytes
};

// One column of a section, in file order.
struct MEMODB_REC
{
    const char* szName;
    MemoDbType nType;
    int nSize;   // capacity of a string including its terminating zero; 0 for numbers
    int nOffset; // position of the field in the record
};

class CMemoDb
{
public:
    void Init(const MEMODB_REC* fields, int count);

    // Converts text to field i's type and writes it into record; a string is cut to its capacity
    // on a character boundary, a number that does not read as one becomes 0.
    void SetField(const char* text, void* record, int i) const;
    // Field i of record as text; numbers in the C locale, doubles in their shortest exact form.
    CString GetString(const void* record, int i) const;

    MemoDbType FieldType(int i) const;
    const char* FieldName(int i) const;
    int NumFields() const { return m_nFields; }
    // The column table row of field i, null outside the table.
    const MEMODB_REC* Field(int i) const { return i >= 0 && i < m_nFields ? &m_pFields[i] : nullptr; }

private:
    const MEMODB_REC* m_pFields = nullptr;
    int m_nFields = 0;
};
