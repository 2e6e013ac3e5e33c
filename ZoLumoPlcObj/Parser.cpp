// The tokenizer.
#include <ZoLumoPlcObj/Parser.h>

CParser::CParser(const char* separators, char quote, char escape, const CStringArray* tokenSeparators)
    : m_cQuote(quote), m_cEscape(escape), m_strSeps(separators)
{
    SetTokSeps(tokenSeparators);
}

void CParser::SetTokSeps(const CStringArray* tokenSeparators)
{
    if (tokenSeparators)
        m_TokSeps.InsertAt(0, tokenSeparators);
    m_bSepsSorted = 0;
}

void CParser::AddTokSep(const char* tokenSeparator)
{
    m_TokSeps.Add(tokenSeparator);
    m_bSepsSorted = 0;
}

void CParser::AddComm(const char* opener, const char* closer)
{
    m_CommOpeners.Add(opener);
    m_CommClosers.Add(closer);
}

void CParser::InitParse()
{
    m_Tokens.RemoveAll();
    m_TokLines.RemoveAll();
    m_TokPos.RemoveAll();
    m_strToken.Empty();
    m_strCurCloser.Empty();
    m_nTokStart = m_nOffset = m_nLine = m_nTokStartLine = 0;
    m_bEscape = false;
    m_bInToken = m_bInQuotes = m_bInComment = 0;
    if (!m_bSepsSorted)
    {
        m_TokSeps.Sort();
        m_bSepsSorted = 1;
    }
}

void CParser::ParseCar(char c)
{
    const int pos = m_nOffset++;
    const int line = m_nLine;
    if (c == '\n')
        ++m_nLine;

    if (m_bInComment && m_strCurCloser.IsEmpty() && c == '\n')
    {
        FlushToken(); // the word belongs to the comment
        m_bInComment = 0;
    }
    if (m_bInQuotes)
    {
        if (m_bEscape)
        {
            m_strToken += c;
            m_bEscape = false;
        }
        else if (c == m_cQuote)
        {
            m_strToken += c;
            AddToken(m_strToken, m_nTokStart, pos + 1, m_nTokStartLine);
            m_strToken.Empty();
            m_bInQuotes = 0;
        }
        else if (c == m_cEscape)
        {
            m_bEscape = true;
        }
        else
        {
            m_strToken += c;
        }
        return;
    }
    if (m_cQuote && c == m_cQuote)
    {
        FlushToken();
        m_bInQuotes = 1;
        m_strToken = c;
        m_nTokStart = pos;
        m_nTokStartLine = line;
        return;
    }
    if (m_strSeps.Find(c) >= 0)
    {
        FlushToken();
        return;
    }
    if (!m_bInToken)
    {
        m_bInToken = 1;
        m_nTokStart = pos;
        m_nTokStartLine = line;
    }
    m_strToken += c;
}

void CParser::CloseParse()
{
    if (m_bInQuotes)
    {
        AddToken(m_strToken, m_nTokStart, m_nOffset, m_nTokStartLine);
        m_strToken.Empty();
        m_bInQuotes = 0;
    }
    FlushToken();
}

void CParser::Parse(const char* text)
{
    InitParse();
    for (const char* p = text ? text : ""; *p; ++p)
        ParseCar(*p);
    CloseParse();
}

bool CParser::Parse(CFile& file)
{
    InitParse();
    char block[100];
    try
    {
        for (UINT n; (n = file.Read(block, sizeof block)) > 0;)
            for (UINT i = 0; i < n; ++i)
                ParseCar(block[i]);
    }
    catch (CException* e)
    {
        e->Delete();
        CloseParse();
        return false;
    }
    CloseParse();
    return true;
}

void CParser::FlushToken()
{
    if (!m_bInToken)
        return;
    m_bInToken = 0;
    const CString token = m_strToken;
    m_strToken.Empty();
    StoreTok(token, m_nTokStart, m_nTokStartLine);
}

void CParser::StoreTok(const CString& token, int start, int line)
{
    for (const CString& separator : m_TokSeps)
    {
        const int at = token.Find(separator);
        if (at < 0)
            continue;
        const int after = at + separator.GetLength();
        if (at > 0)
            StoreTok(token.Left(at), start, line);
        AddToken(separator, start + at, start + after, line);
        if (after < token.GetLength())
            StoreTok(token.Mid(after), start + after, line);
        return;
    }
    AddToken(token, start, start + token.GetLength(), line);
}

void CParser::AddToken(const CString& token, int start, int end, int line)
{
    if (m_bInComment)
    {
        if (!m_strCurCloser.IsEmpty() && token == m_strCurCloser)
            m_bInComment = 0;
        return;
    }
    for (INT_PTR i = 0; i < m_CommOpeners.GetSize(); ++i)
    {
        if (token == m_CommOpeners[i])
        {
            m_bInComment = 1;
            m_strCurCloser = m_CommClosers[i];
            return;
        }
    }
    m_Tokens.Add(token);
    if (m_bKeepLines)
        m_TokLines.Add(static_cast<DWORD>(line));
    if (m_bKeepPos)
        m_TokPos.Add(PRS_TOKPOS{start, end});
}
