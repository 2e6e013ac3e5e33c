// Reads the rows of a database file's text into its registered record tables.
#pragma once

#include "RecDefIntf.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TextDbSyntax
{
    CString separators; // field separators; a double quote among them also quotes fields
    char comment = ';'; // starts a comment outside quotes, up to the end of the line
    // A last row the text ends without a line end is a row as it stands (files people edit by
    // hand); otherwise it is refused unless nothing of it can be missing.
    bool lastRowMayLackLineEnd = false;
};

class CTextDbParser
{
public:
    CTextDbParser(const TextDbSyntax& syntax, const std::vector<CRecDefIntf*>& tables, const char* fileName);

    // Parses the row that starts at p and appends it as a record of its section. Returns the
    // position after the row, or null when the row runs past end and more text follows (atEnd
    // false); the caller then offers the row again with more text after it.
    // Throws CTextDbException* at a syntax error.
    const char* ParseRow(const char* p, const char* end, bool atEnd);
    // The version line's number, -1 when the file had none.
    int Version() const { return m_version; }

private:
    enum CharClass : unsigned char
    {
        CC_TEXT,
        CC_SEPARATOR,
        CC_QUOTE,
        CC_COMMENT,
        CC_NEWLINE,
        CC_ZERO
    };

    CharClass Class(char c) const { return m_class[static_cast<unsigned char>(c)]; }
    // Reads the fields of one row into m_scratch; false when the text ends inside the row.
    bool ReadFields(const char*& p, const char* end, bool atEnd);
    bool ReadQuoted(const char*& p, const char* end, bool atEnd);
    // A row the text ended without a line end is whole only when it holds every field of its
    // section and its last field is quoted (or the syntax takes such a row as it stands);
    // anything else may have lost its tail.
    void CheckRowIsWhole();
    void StoreRow();
    void ReadVersion();
    CRecDefIntf* FindSection(const char* keyword);
    void CheckNumber(CRecDefIntf& table, int field, std::string_view text) const;
    [[noreturn]] void Fail(int errorType, const CString& info) const;

    std::array<CharClass, 256> m_class{};
    const std::vector<CRecDefIntf*>& m_tables;
    const char* m_fileName;
    std::string m_scratch;        // the row's fields, each followed by a zero
    std::vector<size_t> m_starts; // where each field starts in m_scratch
    std::vector<const char*> m_fields;
    CRecDefIntf* m_lastTable = nullptr;
    bool m_lastRowMayLackLineEnd;
    int m_line = 1;
    int m_lineOfRow = 1;
    int m_version = -1;
    bool m_dataSeen = false;
    bool m_rowEnded = false;   // a line end closed the row just read
    bool m_lastQuoted = false; // the row's last field was quoted
};
