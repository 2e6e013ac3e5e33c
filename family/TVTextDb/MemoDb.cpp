#include "MemoDb.h"

#include "FieldText.h"

#include <cstring>

void CMemoDb::Init(const MEMODB_REC* fields, int count)
{
    m_pFields = fields;
    m_nFields = fields && count > 0 ? count : 0;
}

void CMemoDb::SetField(const char* text, void* record, int i) const
{
    const MEMODB_REC* field = Field(i);
    if (!field || !record)
        return;
    char* at = static_cast<char*>(record) + field->nOffset;
    switch (field->nType)
    {
    case MDB_INT:
    {
        const int v = FieldText::ReadInt(text);
        std::memcpy(at, &v, sizeof v);
        break;
    }
    case MDB_DOUBLE:
    {
        const double v = FieldText::ReadDouble(text);
        std::memcpy(at, &v, sizeof v);
        break;
    }
    case MDB_STRING:
        CopyTextCut(at, static_cast<size_t>(field->nSize > 0 ? field->nSize : 0), text ? text : "");
        break;
    default:
        break;
    }
}

CString CMemoDb::GetString(const void* record, int i) const
{
    const MEMODB_REC* field = Field(i);
    if (!field || !record)
        return CString();
    const char* at = static_cast<const char*>(record) + field->nOffset;
    switch (field->nType)
    {
    case MDB_INT:
    {
        int v;
        std::memcpy(&v, at, sizeof v);
        return FormatString("%d", v);
    }
    case MDB_DOUBLE:
    {
        double v;
        std::memcpy(&v, at, sizeof v);
        char buffer[32];
        return CString(FieldText::WriteDouble(v, buffer));
    }
    case MDB_STRING:
        // A record filled by hand may lack the terminator: never read past the array.
        return CString(
            at, static_cast<int>(strnlen(at, static_cast<size_t>(field->nSize > 0 ? field->nSize : 0))));
    default:
        return CString();
    }
}

MemoDbType CMemoDb::FieldType(int i) const
{
    const MEMODB_REC* field = Field(i);
    return field ? field->nType : MDB_NONE;
}

const char* CMemoDb::FieldName(int i) const
{
    const MEMODB_REC* field = Field(i);
    return field ? field->szName : nullptr;
}
