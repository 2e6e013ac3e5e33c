// The table-driven parser.
#include <ZoLumoPlcObj/CodeParser.h>

#include <ZoSupport/ZoSupport.h>

#include <cstdint>

CCodeParser::CCodeParser(CParser* parser, const PRS_ELEM* table, const char* file)
    : m_pParser(parser), m_pTable(table)
{
    if (file)
        ParseFile(file);
}

bool CCodeParser::ParseLine(const char* text)
{
    m_strSource.Empty();
    m_Pos = CSourceRef();
    StartParse();
    if (!m_pParser || !m_pTable)
    {
        RecordError(PRSERR_NO_TABLE);
        if (m_pListener)
            m_pListener->End(false);
        return false;
    }
    m_pParser->Parse(text);
    return RunTopTable();
}

bool CCodeParser::ParseFile(const char* path)
{
    m_strSource = path;
    m_Pos = CSourceRef();
    m_Pos.m_pszSource = path ? m_strSource.GetString() : nullptr;
    StartParse();
    CFile file;
    if (!path)
        RecordError(PRSERR_NO_FILE_NAME);
    else if (!m_pParser || !m_pTable)
        RecordError(PRSERR_NO_TABLE);
    else if (!FitsForReading(path) || !file.Open(path, CFile::modeRead) || !m_pParser->Parse(file))
        RecordError(PRSERR_FILE_OPEN);
    else
        return RunTopTable();
    if (m_pListener)
        m_pListener->End(false);
    return false;
}

void CCodeParser::StartParse()
{
    m_nDepth = 0;
    m_bTooDeep = false;
    m_nTablesLeft = 0;
    if (!m_pListener)
        return;
    m_pListener->m_bFrozen = false;
    m_pListener->Reset();
    m_pListener->SetPosition(m_Pos);
}

bool CCodeParser::RunTopTable()
{
    m_nTablesLeft = kTablesPerToken * (static_cast<long>(m_pParser->GetTokens().GetSize()) + kTablesPerToken);
    int index = 0;
    m_pCurHandler = m_pHandler;
    bool ok = ParseTab(m_pTable, index, nullptr);
    m_pCurHandler = m_pHandler;
    CString leftOver;
    if (ok && GetToken(index, false, leftOver))
    {
        RecordError(PRSERR_UNEXPECTED);
        ok = false;
    }
    if (m_pListener)
        m_pListener->End(ok);
    return ok;
}

bool CCodeParser::ParseTab(const PRS_ELEM* table, int& index, const char* name)
{
    if (!table || !m_pCurHandler)
    {
        RecordError(PRSERR_NO_HANDLER);
        return false;
    }
    CParseHandler* handler = m_pCurHandler->GetHandler(name);
    if (!handler)
    {
        RecordError(PRSERR_REFUSED_TABLE);
        return false;
    }
    m_pCurHandler = handler;
    handler->BeginTable(name);

    int pos = index;
    bool committed = false;
    bool failed = false;
    for (const PRS_ELEM* row = table; row->nMatch != PRS_END && !failed; ++row)
    {
        if (row->nType == PRS_GROUP)
        {
            const PRS_ELEM* last = row + 1;
            while (last->nMatch != PRS_END && last->nType != PRS_REPEAT)
                ++last;
            if (last->nMatch == PRS_END)
            {
                ProgramError("CodeParser", __LINE__, nullptr);
                --last;
            }
            for (;;)
            {
                const Outcome first = EvalRow(*row, pos);
                if (first != Outcome::Match)
                {
                    failed = first == Outcome::Abort;
                    break;
                }
                for (const PRS_ELEM* r = row + 1; r <= last && !failed; ++r)
                {
                    const Outcome next = EvalRow(*r, pos);
                    failed = next == Outcome::Abort || (next == Outcome::NoMatch && r->nType != PRS_OPTIONAL);
                }
                if (failed)
                    break;
            }
            row = last;
            continue;
        }

        Outcome outcome = EvalRow(*row, pos);
        if (outcome == Outcome::Abort)
        {
            failed = true;
            break;
        }
        const bool matched = outcome == Outcome::Match;
        switch (row->nType)
        {
        case PRS_COMMIT:
            committed = committed || matched;
            failed = !matched;
            break;
        case PRS_OPTIONAL:
            break;
        case PRS_FIRST_ALT:
            if (matched)
            {
                // Skip the other alternatives of the group.
                while (row[1].nMatch != PRS_END && row->nType != PRS_LAST_ALT)
                    ++row;
            }
            break;
        case PRS_REPEAT:
            while (outcome == Outcome::Match)
                outcome = EvalRow(*row, pos);
            failed = outcome == Outcome::Abort;
            break;
        default: // mandatory, and a last alternative reached without an earlier match
            failed = !matched;
            break;
        }
    }

    if (!failed)
    {
        if (handler->EndTable(name))
        {
            index = pos;
            return true;
        }
    }
    else
    {
        handler->TableFailed(name);
    }
    if (committed)
        FreezeErrors();
    return false;
}

CCodeParser::Outcome CCodeParser::EvalRow(const PRS_ELEM& row, int& index)
{
    if (m_bTooDeep)
        return Outcome::Abort;
    switch (row.nMatch)
    {
    case PRS_LITERAL:
    case PRS_LITERAL_NOCASE:
    case PRS_LITERAL_SEP:
        return EvalLiteral(row, index);
    case PRS_TOKEN:
        return EvalToken(row, index);
    case PRS_SUBTABLE:
    {
        if (!row.pszName)
            ProgramError("CodeParser", __LINE__, nullptr);
        if (m_nDepth >= kMaxTableDepth || --m_nTablesLeft < 0)
        {
            m_bTooDeep = true;
            RecordError(PRSERR_TOO_DEEP);
            FreezeErrors();
            return Outcome::Abort;
        }
        CParseHandler* parent = m_pCurHandler;
        ++m_nDepth;
        const bool ok = ParseTab(static_cast<const PRS_ELEM*>(row.pArg), index, row.pszName);
        --m_nDepth;
        m_pCurHandler = parent;
        parent->SubTableDone(row.pszName);
        if (m_bTooDeep)
            return Outcome::Abort;
        return ok ? Outcome::Match : Outcome::NoMatch;
    }
    default:
        ProgramError("CodeParser", __LINE__, nullptr);
        return Outcome::Match;
    }
}

CCodeParser::Outcome CCodeParser::EvalLiteral(const PRS_ELEM& row, int& index)
{
    const int start = index;
    CString token;
    if (!GetToken(index, row.nMatch == PRS_LITERAL_SEP, token))
    {
        RecordError(PRSERR_NO_TOKEN);
        return Outcome::NoMatch;
    }
    const char* literal = static_cast<const char*>(row.pArg);
    const bool equal =
        row.nMatch == PRS_LITERAL_NOCASE ? token.CompareNoCase(literal) == 0 : token == literal;
    if (equal)
        return Outcome::Match;
    RecordError(PRSERR_UNEXPECTED);
    index = start;
    return Outcome::NoMatch;
}

CCodeParser::Outcome CCodeParser::EvalToken(const PRS_ELEM& row, int& index)
{
    const int start = index;
    CString token;
    if (!GetToken(index, false, token))
    {
        RecordError(PRSERR_NO_TOKEN);
        return Outcome::NoMatch;
    }
    if (InList(m_ppKeywords, token))
    {
        RecordError(PRSERR_KEYWORD);
        index = start;
        return Outcome::Abort;
    }
    if (m_pCurHandler->HandleToken(token, static_cast<int>(reinterpret_cast<intptr_t>(row.pArg))))
        return Outcome::Match;
    RecordError(PRSERR_REFUSED_TOKEN);
    index = start;
    return Outcome::NoMatch;
}

bool CCodeParser::GetToken(int& index, bool withSeparators, CString& token)
{
    if (!m_pParser)
        return false;
    const CStringArray& tokens = m_pParser->GetTokens();
    while (index < tokens.GetSize())
    {
        const int at = index++;
        token = tokens[at];
        if (!withSeparators && !m_bSepOff && InList(m_ppSeparators, token))
            continue;
        m_Pos.m_nLine = m_pParser->KeepsLines() ? static_cast<int>(m_pParser->GetTokenLines()[at]) : -1;
        m_Pos.m_nStart = m_pParser->KeepsPositions() ? m_pParser->GetTokenPositions()[at].nStart : -1;
        m_Pos.m_nEnd = m_pParser->KeepsPositions() ? m_pParser->GetTokenPositions()[at].nEnd : -1;
        if (m_pListener && !m_pListener->m_bFrozen)
        {
            m_pListener->SetToken(token);
            m_pListener->SetPosition(m_Pos);
        }
        CheckWatch(token);
        return true;
    }
    return false;
}

bool CCodeParser::InList(const char* const* list, const CString& token) const
{
    for (; list && *list; ++list)
        if (m_bNoCase ? token.CompareNoCase(*list) == 0 : token == *list)
            return true;
    return false;
}

void CCodeParser::RecordError(int code)
{
    if (m_pListener && m_pListener->m_bFrozen)
        return;
    m_nError = code;
    if (m_pListener)
        m_pListener->SetError(code, false);
}

void CCodeParser::FreezeErrors()
{
    if (m_pListener)
        m_pListener->Freeze(m_nError);
}

void CCodeParser::CheckWatch(const CString& token)
{
    if (!m_pWatch || m_pWatch->m_nFlags == 0)
        return;
    if ((m_pWatch->m_nFlags & CParseWatch::WATCH_LINE) && m_pWatch->m_nLine != m_Pos.m_nLine)
        return;
    if ((m_pWatch->m_nFlags & CParseWatch::WATCH_TEXT) && m_pWatch->m_strText != token)
        return;
    ProgramError("CodeParser", __LINE__, nullptr);
}
