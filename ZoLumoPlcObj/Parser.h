// Character-by-character tokenizer with separators, quotes, token separators and comment pairs.
#pragma once

#include <ZoLumoPlcObj/SortStringArray.h>

#include <framework/Array.h>
#include <framework/File.h>

struct PRS_TOKPOS
{
    int nStart; // offset of the token's first character
    int nEnd;   // offset one past its last character
};

class CParser
{
public:
    CParser() : CParser(nullptr, 0, '\\', nullptr) {}
    CParser(const char* separators, char quote, char escape, const CStringArray* tokenSeparators);
    CParser(const CParser&) = delete;
    CParser& operator=(const CParser&) = delete;
    virtual ~CParser() = default;

    void SetSeps(const char* separators) { m_strSeps = separators; }
    void SetCloser(char quote) noexcept { m_cQuote = quote; }
    void SetSpecial(char escape) noexcept { m_cEscape = escape; }
    // Token separators split a word wherever they occur; longer ones are tried first.
    void SetTokSeps(const CStringArray* tokenSeparators);
    void AddTokSep(const char* tokenSeparator);
    // Comments are recognised on whole tokens; a null closer ends the comment at the line break.
    void AddComm(const char* opener, const char* closer);
    void SetKeepPositions(bool keep) noexcept { m_bKeepPos = keep; }
    void SetKeepLines(bool keep) noexcept { m_bKeepLines = keep; }

    void InitParse();
    void ParseCar(char c);
    void CloseParse();
    void Parse(const char* text);
    // False when the file cannot be read; the tokens read so far are kept.
    bool Parse(CFile& file);
    // Nonzero when no token and no quoted string is open.
    int InParsing() const noexcept { return !m_bInToken && !m_bInQuotes; }

    const CStringArray& GetTokens() const noexcept { return m_Tokens; }
    // Line (from 0) of the first character of each token, when lines are kept.
    const CDWordArray& GetTokenLines() const noexcept { return m_TokLines; }
    const CArray<PRS_TOKPOS>& GetTokenPositions() const noexcept { return m_TokPos; }
    bool KeepsLines() const noexcept { return m_bKeepLines; }
    bool KeepsPositions() const noexcept { return m_bKeepPos; }

private:
    void FlushToken();
    void StoreTok(const CString& token, int start, int line);
    void AddToken(const CString& token, int start, int end, int line);

    int m_bKeepPos = 0;
    bool m_bKeepLines = false;
    CDWordArray m_TokLines;
    CArray<PRS_TOKPOS> m_TokPos;
    CStringArray m_Tokens;
    int m_nTokStart = 0;
    int m_nOffset = 0;
    int m_nLine = 0;
    bool m_bEscape = false;
    CString m_strToken;
    CStringArray m_CommOpeners;
    CStringArray m_CommClosers;
    CSortStringArray m_TokSeps{SORT_LENGTH_DESCENDING};
    char m_cQuote;
    char m_cEscape;
    CString m_strSeps;
    CString m_strCurCloser;
    int m_bSepsSorted = 0;
    int m_bInToken = 0;
    int m_bInQuotes = 0;
    int m_bInComment = 0;
    int m_nTokStartLine = 0; // a token belongs to the line where it starts
};
