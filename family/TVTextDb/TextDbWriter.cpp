#include "TextDbWriter.h"

std::string CTextDbWriter::Write(const std::vector<CRecDefIntf*>& tables, int version)
{
    std::string out;
    if (version >= 0)
        out += FormatString("#VERSION %d\n", version).str();
    for (CRecDefIntf* table : tables)
    {
        out += table->Comment().str();
        const unsigned long count = table->NumRecs();
        for (unsigned long i = 0; i < count; ++i)
            if (table->SetRec(static_cast<int>(i)))
                WriteRow(*table, out);
    }
    return out;
}

void CTextDbWriter::WriteRow(CRecDefIntf& table, std::string& out)
{
    out += table.Section().str();
    for (int field = 0; field < table.NumFields(); ++field)
    {
        out += '\t';
        if (table.FieldType(field) == MDB_STRING)
            WriteQuoted(table.GetField(field), out);
        else
            out += table.GetField(field).str();
    }
    out += '\n';
}

void CTextDbWriter::WriteQuoted(const CString& text, std::string& out)
{
    out += '"';
    for (char c : text.str())
    {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}
