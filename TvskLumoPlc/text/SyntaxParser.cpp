#include "SyntaxParser.h"

#include <array>
#include <cctype>
#include <strings.h>

namespace
{

bool IsWordChar(char ch)
{
    return std::isalnum(static_cast<unsigned char>(ch)) || ch == '$' || ch == '.' || ch == '@' || ch == '_';
}

bool IsHexDigit(char ch)
{
    return std::isxdigit(static_cast<unsigned char>(ch)) != 0;
}

bool IsDigit(char ch)
{
    return std::isdigit(static_cast<unsigned char>(ch)) != 0;
}

// Collects blocks; a block at the column of the previous one replaces it.
class CBlockList
{
public:
    explicit CBlockList(std::vector<TEXTBLOCK>* blocks) : m_blocks(blocks)
    {
        if (m_blocks)
            m_blocks->clear();
    }

    void Add(int column, int colour)
    {
        if (!m_blocks)
            return;
        if (!m_blocks->empty() && m_blocks->back().m_nCharPos == column)
        {
            m_blocks->back().m_nColorIndex = colour;
            return;
        }
        m_blocks->push_back({column, colour});
    }

private:
    std::vector<TEXTBLOCK>* m_blocks;
};

} // namespace

DWORD CSyntaxParser::ParseLine(DWORD, std::string_view, std::vector<TEXTBLOCK>* blocks)
{
    if (blocks)
        blocks->clear();
    return 0;
}

bool CIlSyntaxParser::IsKeyword(std::string_view word)
{
    static constexpr std::array<std::string_view, 16> kKeywords = {"LD",  "LDN",  "OR",  "ORN", "AND", "ANDN",
                                                                   "OUT", "OUTN", "ADD", "SUB", "MUL", "DIV",
                                                                   "SET", "RES",  "FIN", "END"};
    for (std::string_view keyword : kKeywords)
        if (keyword.size() == word.size() && ::strncasecmp(keyword.data(), word.data(), word.size()) == 0)
            return true;
    return false;
}

bool CIlSyntaxParser::IsNumber(std::string_view word)
{
    if (word.size() >= 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X'))
    {
        if (word.size() == 2)
            return false;
        for (size_t i = 2; i < word.size(); ++i)
            if (!IsHexDigit(word[i]))
                return false;
        return true;
    }
    if (word.empty() || !IsDigit(word[0]))
        return false;
    for (char ch : word.substr(1))
        if (!IsDigit(ch) && ch != '+' && ch != '-' && ch != '.' && ch != 'E' && ch != 'e')
            return false;
    return true;
}

DWORD CIlSyntaxParser::ParseLine(DWORD state, std::string_view line, std::vector<TEXTBLOCK>* blocks)
{
    CBlockList list(blocks);
    if (line.empty())
        return state & COOKIE_COMMENT;

    const int length = static_cast<int>(line.size());
    bool newBlock = true;
    bool blankSoFar = true;
    int wordStart = -1;
    int commentOpen = -3; // column of the "(" that opened the comment on this line
    auto endWord = [&](int end)
    {
        if (wordStart < 0)
            return;
        const std::string_view word =
            line.substr(static_cast<size_t>(wordStart), static_cast<size_t>(end - wordStart));
        const int colour = IsKeyword(word) ? COLORINDEX_KEYWORD : IsNumber(word) ? COLORINDEX_NUMBER : -1;
        if (colour >= 0)
        {
            list.Add(wordStart, colour);
            if (end < length)
                list.Add(end, COLORINDEX_NORMALTEXT);
        }
        wordStart = -1;
    };

    for (int i = 0; i < length; ++i)
    {
        if (newBlock)
        {
            const int colour = (state & COOKIE_COMMENT)                  ? COLORINDEX_COMMENT
                               : (state & (COOKIE_STRING | COOKIE_CHAR)) ? COLORINDEX_STRING
                               : (state & COOKIE_PREPROCESSOR)           ? COLORINDEX_PREPROCESSOR
                                                                         : COLORINDEX_NORMALTEXT;
            list.Add(i, colour);
            newBlock = false;
        }
        const char ch = line[static_cast<size_t>(i)];
        const char next = i + 1 < length ? line[static_cast<size_t>(i + 1)] : '\0';
        const bool escaped = i > 0 && line[static_cast<size_t>(i - 1)] == '\\';

        if (state & COOKIE_STRING)
        {
            if (ch == '"' && !escaped)
            {
                state &= ~COOKIE_STRING;
                newBlock = true;
            }
            continue;
        }
        if (state & COOKIE_CHAR)
        {
            if (ch == '\'' && !escaped)
            {
                state &= ~COOKIE_CHAR;
                newBlock = true;
            }
            continue;
        }
        if (state & COOKIE_COMMENT)
        {
            if (ch == ')' && i > 0 && line[static_cast<size_t>(i - 1)] == '*' && i - 1 > commentOpen + 1)
            {
                state &= ~COOKIE_COMMENT;
                newBlock = true;
            }
            continue;
        }
        if (ch == '(' && next == '*')
        {
            endWord(i);
            state |= COOKIE_COMMENT;
            list.Add(i, COLORINDEX_COMMENT);
            commentOpen = i++;
            continue;
        }
        if (state & COOKIE_PREPROCESSOR)
            continue;
        if (ch == '"' || ch == '\'')
        {
            endWord(i);
            state |= ch == '"' ? COOKIE_STRING : COOKIE_CHAR;
            list.Add(i, COLORINDEX_STRING);
            continue;
        }
        if (ch == '#' && blankSoFar)
        {
            state |= COOKIE_PREPROCESSOR;
            list.Add(i, COLORINDEX_PREPROCESSOR);
            continue;
        }
        if (!std::isspace(static_cast<unsigned char>(ch)))
            blankSoFar = false;
        // An exponent's sign stays inside a number.
        const bool exponentSign =
            (ch == '+' || ch == '-') && wordStart >= 0 && IsDigit(line[static_cast<size_t>(wordStart)]) &&
            (line[static_cast<size_t>(i - 1)] == 'E' || line[static_cast<size_t>(i - 1)] == 'e');
        if (IsWordChar(ch) || exponentSign)
        {
            if (wordStart < 0)
                wordStart = i;
            continue;
        }
        endWord(i);
    }
    endWord(length);
    return line.back() == '\\' ? state : (state & COOKIE_COMMENT);
}
