// Recursive-descent parser that runs grammars written as tables of PRS_ELEM rows.
#pragma once

#include <ZoLumoPlcObj/Parser.h>

// Match kinds of a grammar row.
enum PrsMatch
{
    PRS_LITERAL = 1, // case-sensitive
    PRS_LITERAL_NOCASE = 2,
    PRS_LITERAL_SEP = 3, // may also be a skipped separator token
    PRS_TOKEN = 4,       // any token, handed to the handler with its class
    PRS_SUBTABLE = 5,
    PRS_END = 6
};

// Repetition and choice rules of a grammar row.
enum PrsType
{
    PRS_MANDATORY = 0,
    PRS_COMMIT = 1, // mandatory; after it a failure freezes the error state
    PRS_OPTIONAL = 2,
    PRS_FIRST_ALT = 3, // first or middle alternative
    PRS_LAST_ALT = 4,
    PRS_GROUP = 5, // starts a repeated group
    PRS_REPEAT = 6 // alone zero or more times; after a group start, ends the group
};

enum PrsError
{
    PRSERR_NO_TABLE = 1,
    PRSERR_UNEXPECTED = 2,
    PRSERR_NO_FILE_NAME = 3,
    PRSERR_FILE_OPEN = 4,
    PRSERR_NO_HANDLER = 5,
    PRSERR_REFUSED_TABLE = 6,
    PRSERR_NO_TOKEN = 7,
    PRSERR_KEYWORD = 9,
    PRSERR_REFUSED_TOKEN = 10,
    PRSERR_TOO_DEEP = 11 // tables nested deeper than kMaxTableDepth, or more tried than kTablesPerToken allow
};

struct PRS_ELEM
{
    const char* pszName; // sub-table name for PRS_SUBTABLE
    int nMatch;          // PrsMatch
    int nType;           // PrsType
    const void* pArg;    // literal text, token class (intptr_t) or sub-table
};

struct CSourceRef
{
    const char* m_pszSource = nullptr; // file given to ParseFile, else null
    int m_nLine = -1;
    int m_nStart = -1;
    int m_nEnd = -1;
};

// Builds the result of a parse; a client overrides what it needs.
class CParseHandler
{
public:
    virtual ~CParseHandler() = default;
    virtual CParseHandler* GetHandler(const char* /*name*/) { return this; }
    virtual void BeginTable(const char* /*name*/) {}
    virtual bool EndTable(const char* /*name*/) { return true; }
    virtual void TableFailed(const char* /*name*/) {}
    virtual void SubTableDone(const char* /*name*/) {}
    virtual bool HandleToken(const char* /*text*/, int /*tokenClass*/) { return false; }
};

// Hears errors and positions; once frozen, no further error is recorded anywhere.
class CParseListener
{
public:
    virtual ~CParseListener() = default;
    virtual void Reset() {}
    virtual void End(bool /*result*/) {}
    virtual void SetPosition(const CSourceRef& /*position*/) {}
    virtual void SetText(const char* /*text*/) {}
    virtual void SetError(int /*code*/, bool /*freeze*/) {}
    virtual void SetToken(const CString& /*token*/) {}

    // Records code as the error that stays.
    void Freeze(int code)
    {
        if (m_bFrozen)
            return;
        SetError(code, true);
        m_bFrozen = true;
    }

    bool m_bFrozen = false;
};

// Debugging aid: reports when a token with the given line and/or text is read.
class CParseWatch
{
public:
    enum
    {
        WATCH_LINE = 1,
        WATCH_TEXT = 2
    };
    int m_nFlags = 0;
    int m_nLine = -1;
    CString m_strText;
};

class CCodeParser
{
public:
    // Nesting of sub-tables beyond any real text; deeper input fails instead of exhausting the stack.
    static constexpr int kMaxTableDepth = 1000;
    // Sub-tables a parse may try for each token (and once more for kTablesPerToken tokens) before
    // it fails: alternatives that fail deep inside nested input otherwise retry it exponentially.
    static constexpr long kTablesPerToken = 64;

    CCodeParser(CParser* parser, const PRS_ELEM* table, const char* file);
    CCodeParser(const CCodeParser&) = delete;
    CCodeParser& operator=(const CCodeParser&) = delete;
    virtual ~CCodeParser() = default;

    void SetParser(CParser* parser) noexcept { m_pParser = parser; }
    void SetParseTable(const PRS_ELEM* table) noexcept { m_pTable = table; }
    void SetKeywords(const char* const* keywords) noexcept { m_ppKeywords = keywords; }
    void SetSeparators(const char* const* separators) noexcept { m_ppSeparators = separators; }
    // True turns the skipping of the separator tokens off.
    void EnableSeparators(bool off) noexcept { m_bSepOff = off; }
    void SetHandler(CParseHandler* handler) noexcept { m_pHandler = handler; }
    void SetListener(CParseListener* listener) noexcept { m_pListener = listener; }
    void SetWatch(CParseWatch* watch) noexcept { m_pWatch = watch; }
    void SetCaseInsensitive(bool noCase) noexcept { m_bNoCase = noCase; }

    const CSourceRef& GetPosition() const noexcept { return m_Pos; }
    int GetError() const noexcept { return m_nError; }
    bool ParseLine(const char* text);
    bool ParseFile(const char* path);

private:
    enum class Outcome
    {
        Match,
        NoMatch,
        Abort // fails the whole table at once
    };

    void StartParse();
    bool RunTopTable();
    bool ParseTab(const PRS_ELEM* table, int& index, const char* name);
    Outcome EvalRow(const PRS_ELEM& row, int& index);
    Outcome EvalLiteral(const PRS_ELEM& row, int& index);
    Outcome EvalToken(const PRS_ELEM& row, int& index);
    bool GetToken(int& index, bool withSeparators, CString& token);
    void RecordError(int code);
    void FreezeErrors();
    void CheckWatch(const CString& token);
    bool InList(const char* const* list, const CString& token) const;

    CParseHandler* m_pHandler = nullptr;   // not owned
    CParseWatch* m_pWatch = nullptr;       // not owned
    CParseListener* m_pListener = nullptr; // not owned
    bool m_bNoCase = false;
    bool m_bSepOff = false;
    CSourceRef m_Pos;
    int m_nError = 0;
    CParser* m_pParser; // not owned
    const PRS_ELEM* m_pTable;
    const char* const* m_ppKeywords = nullptr;
    const char* const* m_ppSeparators = nullptr;
    CParseHandler* m_pCurHandler = nullptr;
    CString m_strSource;
    int m_nDepth = 0;
    long m_nTablesLeft = 0;
    // Set once the nesting or work limit was hit: the whole parse then fails without trying alternatives.
    bool m_bTooDeep = false;
};
