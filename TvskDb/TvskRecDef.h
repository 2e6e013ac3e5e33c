// The record table of one section: a growable array of fixed-layout records, a work buffer and
// the section's field map.
#pragma once

#include <TVTextDb/TextDb.h>
#include <framework/Array.h>

#include <cstring>
#include <type_traits>

template <class T> class CRecDef : public CRecDefIntf
{
    static_assert(std::is_trivially_copyable_v<T> && std::is_standard_layout_v<T>,
                  "records are plain structures");

public:
    // Gives the table its columns; the required and total field counts become n.
    void Init(const MEMODB_REC* fields, int n)
    {
        m_fieldMap.Init(fields, n);
        m_nNumRqFields = m_nNumFields = m_fieldMap.NumFields();
    }

    void* RecPtr(int i) override { return IsRecord(i) ? &m_records[i] : nullptr; }
    void SetField(int field, const char* text) override { m_fieldMap.SetField(text, &m_buffer, field); }
    void StoreRec(int i) override
    {
        if (IsRecord(i))
            std::memcpy(static_cast<void*>(&m_records[i]), &m_buffer, sizeof(T));
    }
    int SetRec(int i) override
    {
        if (!IsRecord(i))
            return 0;
        std::memcpy(static_cast<void*>(&m_buffer), &m_records[i], sizeof(T));
        return 1;
    }
    MemoDbType FieldType(int field) const override { return m_fieldMap.FieldType(field); }
    CString GetField(int field) const override { return m_fieldMap.GetString(&m_buffer, field); }
    unsigned long NumRecs() const override { return static_cast<unsigned long>(m_records.GetSize()); }
    // Grows by the framework array's rule; the new record is zeroed, then takes the buffer.
    void AddRec() override
    {
        const INT_PTR n = m_records.GetSize();
        m_records.SetSize(n + 1);
        std::memcpy(static_cast<void*>(&m_records[n]), &m_buffer, sizeof(T));
    }
    void Clean() override { std::memset(static_cast<void*>(&m_buffer), 0, sizeof(T)); }
    const char* FieldName(unsigned short field) const override { return m_fieldMap.FieldName(field); }

    // Record i, null when i is not a record index.
    T* GetRec(int i) { return static_cast<T*>(RecPtr(i)); }
    // The records themselves, for the databases' own setters.
    CArray<T>& Records() { return m_records; }
    T& WorkBuffer() { return m_buffer; }

private:
    bool IsRecord(int i) const { return i >= 0 && i < m_records.GetSize(); }

    CArray<T> m_records;
    T m_buffer{};
    CMemoDb m_fieldMap;
};
