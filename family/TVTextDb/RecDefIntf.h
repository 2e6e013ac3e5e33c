// Interface of one section's record table, through which the engine reads and writes records.
#pragma once

#include "MemoDb.h"

class CRecDefIntf
{
public:
    CRecDefIntf() = default;

    // The engine reads a row with Clean, SetField per column, AddRec; it writes record i with
    // SetRec (i), then GetField per column. The defaults describe an empty table.
    virtual void* RecPtr(int i);
    virtual void SetField(int field, const char* text);
    virtual void StoreRec(int i);
    virtual int SetRec(int i);
    virtual MemoDbType FieldType(int field) const;
    virtual CString GetField(int field) const;
    virtual unsigned long NumRecs() const;
    virtual void AddRec();
    virtual void Clean();
    virtual const char* FieldName(unsigned short field) const;
    virtual ~CRecDefIntf() = default;

    int NumFields() const { return m_nNumFields; }
    int NumRqFields() const { return m_nNumRqFields; }
    // Leading columns every row must carry; 0 when n is more than the field count.
    void SetNumRqFields(int n) { m_nNumRqFields = n > m_nNumFields ? 0 : n; }

    const CString& Section() const { return m_strSection; }
    const CString& Comment() const { return m_strComment; }
    void SetSection(const char* keyword, const char* comment)
    {
        m_strSection = keyword;
        m_strComment = comment;
    }

protected:
    int m_nNumRqFields = 0;
    int m_nNumFields = 0;
    CString m_strSection;
    CString m_strComment;
};
