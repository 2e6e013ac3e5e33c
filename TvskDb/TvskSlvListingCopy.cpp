#include "TvskSlvListingCopy.h"

#include "TvskTempFile.h"

#include <framework/File.h>

#include <cstring>
#include <vector>

namespace
{

constexpr char s_separators[] = "\t \":,";
constexpr int s_mnemonicSize = 100;
constexpr int s_operandSize = 6;

// A PLC comment row ("comm:" and its text) is copied whatever its text holds.
bool IsCommentRow(const CString& line)
{
    return line.Left(5).CompareNoCase("comm:") == 0;
}

// The row's text without the blank the writer puts after a mnemonic.
CString CommentRowText(CString line)
{
    if (line.Right(1) == " ")
        line.Delete(line.GetLength() - 1);
    return line;
}

CString Quoted(CString text)
{
    text.Replace("\"", "\"\"");
    return "\"" + text + "\"";
}

// A line of blanks alone is an empty line.
bool IsPlcLine(const CString& line)
{
    return !CString(line).Trim(" \t").IsEmpty() && line.Find("Pr") < 0 && line.Find("Pt") < 0 &&
           line.Find('\'') < 0;
}

// The fields of a line as the text database splits them: separator runs split, a double quote
// opens a field that ends at the next lone quote ("" inside is one quote).
std::vector<CString> SplitFields(const CString& line)
{
    std::vector<CString> fields;
    const char* p = line;
    while (*p)
    {
        if (*p == '"')
        {
            CString field;
            for (++p; *p; ++p)
            {
                if (*p == '"' && p[1] == '"')
                    ++p;
                else if (*p == '"')
                    break;
                field += *p;
            }
            if (*p)
                ++p;
            fields.push_back(field);
        }
        else if (std::strchr(s_separators, *p))
        {
            ++p;
        }
        else
        {
            const size_t length = std::strcspn(p, s_separators);
            fields.emplace_back(p, static_cast<int>(length));
            p += length;
        }
    }
    return fields;
}

} // namespace

bool CSlvListingCopy::CheckPlcFields(const CString& line)
{
    const std::vector<CString> fields = SplitFields(line);
    for (size_t i = 0; i < fields.size(); ++i)
    {
        const int limit = i == 0 ? s_mnemonicSize : s_operandSize;
        if (fields[i].GetLength() <= limit)
            continue;
        m_type = ErrFieldTooLong;
        m_info.Format("PLC field %d \"%s\" is longer than %d characters", static_cast<int>(i) + 1,
                      fields[i].GetString(), limit);
        return false;
    }
    return true;
}

bool CSlvListingCopy::CheckCommentRow(const CString& text)
{
    if (text.GetLength() <= s_mnemonicSize)
        return true;
    m_type = ErrFieldTooLong;
    m_info.Format("PLC comment \"%s\" is longer than %d characters", text.GetString(), s_mnemonicSize);
    return false;
}

bool CSlvListingCopy::Copy(CStdioFile& listing, CTvskTempFile& target)
{
    m_line = 0;
    m_heldBlockHeader = false;
    CString line;
    while (listing.ReadString(line))
    {
        ++m_line;
        m_heldBlockHeader = m_heldBlockHeader || line.Left(1) == "'";
        if (IsCommentRow(line))
        {
            const CString text = CommentRowText(line);
            if (!CheckCommentRow(text))
                return false;
            line = "PLC " + Quoted(text);
        }
        else if (IsPlcLine(line))
        {
            if (!CheckPlcFields(line))
                return false;
            line = "PLC " + line;
        }
        if (!target.Write(line + "\n"))
        {
            m_info = "the temporary copy cannot be written";
            return false;
        }
    }
    if (!target.Close())
    {
        m_info = "the temporary copy cannot be written";
        return false;
    }
    return true;
}
