// A record table over std::vector and a text database of two sections for the engine's tests.
#pragma once

#include <TVTextDb/TextDb.h>

#include <cstddef>
#include <cstring>
#include <vector>

template <class T> class TestTable : public CRecDefIntf
{
public:
    void InitFields(const MEMODB_REC* fields, int n)
    {
        m_map.Init(fields, n);
        m_nNumFields = m_nNumRqFields = n;
    }
    void* RecPtr(int i) override { return Valid(i) ? &m_recs[static_cast<size_t>(i)] : nullptr; }
    void SetField(int field, const char* text) override { m_map.SetField(text, &m_buf, field); }
    void StoreRec(int i) override
    {
        if (Valid(i))
            m_recs[static_cast<size_t>(i)] = m_buf;
    }
    int SetRec(int i) override
    {
        if (!Valid(i))
            return 0;
        m_buf = m_recs[static_cast<size_t>(i)];
        return 1;
    }
    MemoDbType FieldType(int field) const override { return m_map.FieldType(field); }
    CString GetField(int field) const override { return m_map.GetString(&m_buf, field); }
    unsigned long NumRecs() const override { return static_cast<unsigned long>(m_recs.size()); }
    void AddRec() override { m_recs.push_back(m_buf); }
    void Clean() override { std::memset(static_cast<void*>(&m_buf), 0, sizeof m_buf); }
    const char* FieldName(unsigned short field) const override { return m_map.FieldName(field); }

    std::vector<T> m_recs;
    T m_buf{};

private:
    bool Valid(int i) const { return i >= 0 && static_cast<size_t>(i) < m_recs.size(); }
    CMemoDb m_map;
};

struct ITEM
{
    char szName[9];
    int nCount;
    double dblValue;
};

struct NOTE
{
    char szText[41];
};

inline const MEMODB_REC kItemFields[] = {
    {"szName", MDB_STRING, 9, offsetof(ITEM, szName)},
    {"nCount", MDB_INT, 0, offsetof(ITEM, nCount)},
    {"dblValue", MDB_DOUBLE, 0, offsetof(ITEM, dblValue)},
};

inline const MEMODB_REC kNoteFields[] = {
    {"szText", MDB_STRING, 41, offsetof(NOTE, szText)},
};

// Sections ITEM (two required fields) and NOTE; the separators and comment are chosen per test.
class ItemDb : public CTextDb
{
public:
    explicit ItemDb(const char* separators = "\t \"", const char* comment = ";")
        : m_separators(separators), m_comment(comment)
    {
    }

    TestTable<ITEM> m_items;
    TestTable<NOTE> m_notes;
    int m_initCalls = 0;

protected:
    void Init() override
    {
        ++m_initCalls;
        SetSeparators(m_separators);
        SetComment(m_comment);
        m_items.InitFields(kItemFields, 3);
        RegisterSection(m_items, "ITEM", ";\n;\tItems\n;\n");
        m_items.SetNumRqFields(2);
        m_notes.InitFields(kNoteFields, 1);
        RegisterSection(m_notes, "NOTE", ";\n;\tNotes\n;\n");
    }

private:
    const char* m_separators;
    const char* m_comment;
};
