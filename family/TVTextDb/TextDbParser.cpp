#include "TextDbParser.h"

#include "FieldText.h"
#include "TextDbException.h"

#include <cstring>

namespace
{

constexpr const char* kVersionDirective = "#VERSION";

// Bad texts are quoted in messages, shortened so a runaway field cannot flood them.
CString Quoted(const char* text)
{
    CString s(text);
    if (s.GetLength() > 60)
        s.CutUtf8(57) += "...";
    return "\"" + s + "\"";
}

} // namespace

CTextDbParser::CTextDbParser(const TextDbSyntax& syntax, const std::vector<CRecDefIntf*>& tables,
                             const char* fileName)
    : m_tables(tables), m_fileName(fileName), m_lastRowMayLackLineEnd(syntax.lastRowMayLackLineEnd)
{
    for (const char* s = syntax.separators; *s; ++s)
        m_class[static_cast<unsigned char>(*s)] = *s == '"' ? CC_QUOTE : CC_SEPARATOR;
    m_class[static_cast<unsigned char>('\r')] = CC_SEPARATOR;
    if (syntax.comment)
        m_class[static_cast<unsigned char>(syntax.comment)] = CC_COMMENT;
    m_class[static_cast<unsigned char>('\n')] = CC_NEWLINE;
    m_class[0] = CC_ZERO;
    m_starts.reserve(64);
    m_fields.reserve(64);
}

const char* CTextDbParser::ParseRow(const char* p, const char* end, bool atEnd)
{
    const int lineBefore = m_line;
    m_lineOfRow = m_line;
    m_scratch.clear();
    m_starts.clear();
    m_rowEnded = false;
    if (!ReadFields(p, end, atEnd))
    {
        m_line = lineBefore;
        return nullptr;
    }
    if (m_starts.empty())
        return p;
    if (!m_rowEnded)
        CheckRowIsWhole();
    StoreRow();
    return p;
}

bool CTextDbParser::ReadFields(const char*& p, const char* end, bool atEnd)
{
    while (p < end)
    {
        switch (Class(*p))
        {
        case CC_SEPARATOR:
            ++p;
            break;
        case CC_NEWLINE:
            ++p;
            ++m_line;
            m_rowEnded = true;
            return true;
        case CC_COMMENT:
            while (p < end && *p != '\n')
                ++p;
            break;
        case CC_ZERO:
            Fail(TDB_ERR_CHARACTER, "zero byte in the text");
        case CC_QUOTE:
            if (!ReadQuoted(p, end, atEnd))
                return false;
            m_lastQuoted = true;
            break;
        case CC_TEXT:
        {
            const char* start = p;
            while (p < end && Class(*p) == CC_TEXT)
                ++p;
            m_starts.push_back(m_scratch.size());
            m_scratch.append(start, static_cast<size_t>(p - start));
            m_scratch += '\0';
            m_lastQuoted = false;
            break;
        }
        }
    }
    return atEnd;
}

bool CTextDbParser::ReadQuoted(const char*& p, const char* end, bool atEnd)
{
    m_starts.push_back(m_scratch.size());
    for (const char* r = p + 1; r < end; ++r)
    {
        if (*r == '"')
        {
            if (r + 1 == end && !atEnd)
                return false; // the next byte may double the quote
            if (r + 1 < end && r[1] == '"')
            {
                m_scratch += '"';
                ++r;
                continue;
            }
            m_scratch += '\0';
            p = r + 1;
            return true;
        }
        if (*r == '\0')
            Fail(TDB_ERR_CHARACTER, "zero byte in the text");
        if (*r == '\n')
            ++m_line;
        m_scratch += *r;
    }
    if (!atEnd)
        return false;
    Fail(TDB_ERR_QUOTE, "quoted field not closed");
}

void CTextDbParser::CheckRowIsWhole()
{
    const char* keyword = m_scratch.data() + m_starts.front();
    CRecDefIntf* table = keyword[0] == '#' ? nullptr : FindSection(keyword);
    if (!table)
        Fail(TDB_ERR_CUT, "the file ends inside its last line: it was cut short");
    if (m_lastRowMayLackLineEnd ||
        (m_lastQuoted && static_cast<int>(m_starts.size()) - 1 == table->NumFields()))
        return;
    Fail(TDB_ERR_CUT,
         "the last row of section " + Quoted(keyword) + " has no line end: the file was cut short");
}

void CTextDbParser::StoreRow()
{
    m_fields.clear();
    for (size_t start : m_starts)
        m_fields.push_back(m_scratch.data() + start);
    const char* keyword = m_fields.front();
    if (keyword[0] == '#')
    {
        ReadVersion();
        return;
    }
    CRecDefIntf* table = FindSection(keyword);
    if (!table)
        Fail(TDB_ERR_SECTION, "unknown section " + Quoted(keyword));

    const int count = static_cast<int>(m_fields.size()) - 1;
    if (count < table->NumRqFields())
        Fail(TDB_ERR_FEWFIELDS, FormatString("section \"%s\" needs at least %d fields, found %d", keyword,
                                             table->NumRqFields(), count));
    if (count > table->NumFields())
        Fail(TDB_ERR_MANYFIELDS,
             FormatString("section \"%s\" has %d fields, found %d", keyword, table->NumFields(), count));

    table->Clean();
    for (int i = 0; i < count; ++i)
    {
        const size_t at = static_cast<size_t>(i) + 1;
        // Each field in the scratch text ends with its zero, just before the next field starts.
        const size_t length =
            (at + 1 < m_starts.size() ? m_starts[at + 1] : m_scratch.size()) - m_starts[at] - 1;
        CheckNumber(*table, i, std::string_view(m_fields[at], length));
        table->SetField(i, m_fields[at]);
    }
    table->AddRec();
    m_dataSeen = true;
}

void CTextDbParser::ReadVersion()
{
    int version = 0;
    if (m_dataSeen || m_fields.size() != 2 || std::strcmp(m_fields[0], kVersionDirective) != 0 ||
        !FieldText::ParseInt(m_fields[1], version))
        Fail(TDB_ERR_DIRECTIVE,
             Quoted(m_fields[0]) + " is not a version line (\"#VERSION n\") before the data");
    m_version = version;
}

CRecDefIntf* CTextDbParser::FindSection(const char* keyword)
{
    // Rows of one section mostly follow each other.
    if (m_lastTable && m_lastTable->Section() == keyword)
        return m_lastTable;
    for (CRecDefIntf* table : m_tables)
        if (table->Section() == keyword)
            return m_lastTable = table;
    return nullptr;
}

void CTextDbParser::CheckNumber(CRecDefIntf& table, int field, std::string_view text) const
{
    const MemoDbType type = table.FieldType(field);
    int unused = 0;
    const bool valid = type == MDB_INT      ? FieldText::ParseInt(text, unused)
                       : type == MDB_DOUBLE ? FieldText::IsDouble(text)
                                            : true;
    if (valid)
        return;
    const char* name = table.FieldName(static_cast<unsigned short>(field));
    const CString where =
        FormatString("field \"%s\" of section \"%s\": ", name ? name : "?", table.Section().GetString());
    if (type == MDB_INT)
        Fail(TDB_ERR_INTEGER, where + Quoted(CString(text)) + " is not an integer");
    Fail(TDB_ERR_DOUBLE, where + Quoted(CString(text)) + " is not a number");
}

void CTextDbParser::Fail(int errorType, const CString& info) const
{
    throw new CTextDbException(m_lineOfRow, errorType, info, m_fileName);
}
