// The program's strings and the drive type's strings in the current language.
#include "TvskStringDb.h"

#include "TvskDataRecords.h"
#include "TvskFieldTables.h"
#include "TvskFileRecords.h"
#include "TvskTable.h"

#include <TvskDb/TvskParDbRecords.h>
#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <new>

namespace
{

const MEMODB_REC kStringFields[] = {TVSK_FIELD_STR(DBSTRING, strID), TVSK_FIELD_STR(DBSTRING, strDef),
                                    TVSK_FIELD_INT(DBSTRING, nOpMode)};
const MEMODB_REC kVersionFields[] = {TVSK_FIELD_AS("szParVer", MDB_STRING, DBVERSION, szVer)};
const MEMODB_REC kMenuFields[] = {TVSK_FIELD_INT(DBMENU, nID), TVSK_FIELD_STR(DBMENU, szDescr),
                                  TVSK_FIELD_INT(DBMENU, idDescr)};
const MEMODB_REC kDescrFields[] = {TVSK_FIELD_STR(DBSTRING, strID), TVSK_FIELD_INT(DBSTRING, nOpMode),
                                   TVSK_FIELD_STR(DBSTRING, strDef)};
const MEMODB_REC kResourceFields[] = {TVSK_FIELD_STR(DBSTRING, strID), TVSK_FIELD_STR(DBSTRING, strDef)};

// Replaces every pair of backslash and letter by "$", then every "$" by the character.
void ExpandEscape(CString& text, const char* pair, char character)
{
    if (text.Find(pair) < 0)
        return;
    text.Replace(pair, "$");
    text.Replace('$', character);
}

// A bucket count for about count keys: a prime a fifth above it, so lookups stay short however
// long the file (the maps are only looked up, never walked, so their order does not matter).
UINT BucketsFor(INT_PTR count)
{
    const auto isPrime = [](UINT n)
    {
        for (UINT d = 2; d * d <= n; ++d)
            if (n % d == 0)
                return false;
        return true;
    };
    UINT buckets = std::max<UINT>(17, static_cast<UINT>(count + count / 5));
    while (!isPrime(buckets))
        ++buckets;
    return buckets;
}

} // namespace

CString ExpandStringEscapes(CString text)
{
    ExpandEscape(text, "\\n", '\n');
    ExpandEscape(text, "\\t", '\t');
    return text;
}

class CStringFileDb : public CTvskTextDb
{
public:
    CRecDef<DBSTRING> m_strings;

protected:
    void Init() override
    {
        UseDatabaseSyntax();
        Register(m_strings, kStringFields, "STR", ";\n;\tStrings\n;\n", 2);
    }
};

class CParStringFileDb : public CTvskTextDb
{
public:
    CRecDef<DBVERSION> m_version;
    CRecDef<DBMENU> m_menus;
    CRecDef<DBSTRING> m_descriptions;
    CRecDef<DBSTRING> m_resources;

protected:
    void Init() override
    {
        UseDatabaseSyntax();
        Register(m_version, kVersionFields, "VER", ";\n;\tVersion\n;\n");
        Register(m_menus, kMenuFields, "MENU", ";\n;\tMenu\n;\n");
        Register(m_descriptions, kDescrFields, "DESCR", ";\n;\tParameter Strings\n;\n");
        Register(m_resources, kResourceFields, "STR", ";\n;\tResource Strings\n;\n");
    }
};

CTvskStringDb::CTvskStringDb() = default;

CTvskStringDb::~CTvskStringDb()
{
    Close();
}

int CTvskStringDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    const int result = LoadNewTextDb<CStringFileDb>(m_db, path, *this);
    if (result != 0)
        return result;
    m_strings.InitHashTable(BucketsFor(Count(m_db->m_strings)));
    for (const DBSTRING& rec : Records(m_db->m_strings))
        m_strings[rec.strID] = rec.strDef;
    return 0;
}

int CTvskStringDb::Close()
{
    m_db.reset();
    m_strings.RemoveAll();
    return 1;
}

int CTvskStringDb::GetString(const char* key, CString& text, bool subset)
{
    if (!key)
        return 0;
    if (subset)
        return m_strings.Lookup(FormatString("%s_%d", key, m_nSubset), text) ? 1 : 0;
    if (!m_strings.Lookup(key, text))
        return 0;
    text = ExpandStringEscapes(text);
    return 1;
}

int CTvskStringDb::FindKey(const char* text, CString& key) const
{
    if (!text || !*text)
        return 0;
    for (POSITION pos = m_strings.GetStartPosition(); pos;)
    {
        CString name;
        CString value;
        m_strings.GetNextAssoc(pos, name, value);
        if (name.Find('_') < 0 && ExpandStringEscapes(value) == text)
        {
            key = name;
            return 1;
        }
    }
    return 0;
}

int CTvskStringDb::GetString(unsigned long key, CString& text, bool)
{
    return GetString(FormatString("%lu", key), text, false);
}

CTvskStringParDb::CTvskStringParDb() = default;

CTvskStringParDb::~CTvskStringParDb()
{
    Close();
}

int CTvskStringParDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    const int result = LoadNewTextDb<CParStringFileDb>(m_db, path, *this);
    if (result != 0)
        return result;
    PostLoad();
    return 0;
}

void CTvskStringParDb::PostLoad()
{
    if (Count(m_db->m_version) == 1)
        m_strVersion = At(m_db->m_version, 0)->szVer;
    for (const DBMENU& menu : Records(m_db->m_menus))
        m_menus[menu.nID] = menu.szDescr;
    std::map<WORD, INT_PTR> perMode;
    for (const DBSTRING& descr : Records(m_db->m_descriptions))
        ++perMode[static_cast<WORD>(descr.nOpMode)];
    for (const DBSTRING& descr : Records(m_db->m_descriptions))
    {
        const WORD number = static_cast<WORD>(descr.nOpMode);
        std::unique_ptr<CMapStringToString>& mode = m_descriptions[number];
        if (!mode)
        {
            mode.reset(new (std::nothrow) CMapStringToString(10));
            if (mode)
                mode->InitHashTable(BucketsFor(perMode[number]));
        }
        if (!mode)
        {
            ProgramError(__FILE__, __LINE__, nullptr);
            return;
        }
        (*mode)[descr.strID] = descr.strDef;
    }
    m_resources.InitHashTable(BucketsFor(Count(m_db->m_resources)));
    for (const DBSTRING& rec : Records(m_db->m_resources))
        m_resources[rec.strID] = rec.strDef;
}

int CTvskStringParDb::Close()
{
    m_db.reset();
    m_strVersion.Empty();
    m_menus.RemoveAll();
    m_resources.RemoveAll();
    m_descriptions.clear();
    return 1;
}

int CTvskStringParDb::GetVersion(CString& text) const
{
    text = m_strVersion;
    return text.IsEmpty() ? 0 : 1;
}

int CTvskStringParDb::GetMenuString(int number, CString& text) const
{
    return m_menus.Lookup(number, text) ? 1 : 0;
}

int CTvskStringParDb::GetParDescr(const char* key, CString& text, bool subset) const
{
    const WORD mode = subset ? static_cast<WORD>(m_nSubset) : static_cast<WORD>(-1);
    const auto descriptions = m_descriptions.find(mode);
    if (!key || descriptions == m_descriptions.end() || !descriptions->second->Lookup(key, text))
        return 0;
    text = ExpandStringEscapes(text);
    return 1;
}

int CTvskStringParDb::GetString(unsigned long number, CString& text) const
{
    if (!m_resources.Lookup(FormatString("%lu", number), text))
        return 0;
    text = ExpandStringEscapes(text);
    return 1;
}
