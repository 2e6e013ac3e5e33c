// The languages file.
#include "TvskLangDb.h"

#include "TvskFieldTables.h"
#include "TvskTable.h"

#include <cstring>
#include <new>

namespace
{

struct DBLANGDEF
{
    int idLang;
    char strLang[6];
};

const MEMODB_REC kLanguageFields[] = {TVSK_FIELD_INT(DBLANGDEF, idLang), TVSK_FIELD_STR(DBLANGDEF, strLang)};

} // namespace

class CLangFileDb : public CTvskTextDb
{
public:
    CRecDef<DBLANGDEF> m_languages;

    const DBLANGDEF* Language(int i) { return At(m_languages, i); }

protected:
    void Init() override
    {
        UseDatabaseSyntax();
        Register(m_languages, kLanguageFields, "LANG", ";\n;\tLanguages\n;\n");
    }
};

CTvskLangDb::CTvskLangDb() = default;

CTvskLangDb::~CTvskLangDb()
{
    Close();
}

int CTvskLangDb::Load(const char* path)
{
    m_strError.Empty();
    std::shared_ptr<CLangFileDb> db;
    const int result = LoadNewTextDb<CLangFileDb>(db, path, *this);
    if (result != 0)
        return result;
    Close();
    m_db = std::move(db);
    return 0;
}

int CTvskLangDb::Close()
{
    m_db.reset();
    return 1;
}

int CTvskLangDb::GetLanguagesNum() const
{
    return m_db ? static_cast<int>(Count(m_db->m_languages)) : 0;
}

const char* CTvskLangDb::GetLanguageName(int i) const
{
    const DBLANGDEF* language = m_db ? m_db->Language(i) : nullptr;
    return language ? language->strLang : nullptr;
}

int CTvskLangDb::GetLanguageId(int i) const
{
    const DBLANGDEF* language = m_db ? m_db->Language(i) : nullptr;
    return language ? language->idLang : -1;
}

const char* CTvskLangDb::GetLanguageNameFromId(int id) const
{
    if (!m_db)
        return nullptr;
    for (const DBLANGDEF& language : Records(m_db->m_languages))
        if (language.idLang == id)
            return language.strLang;
    return nullptr;
}

int CTvskLangDb::GetLanguageIdFromName(const char* name) const
{
    if (!m_db || !name)
        return 0;
    for (const DBLANGDEF& language : Records(m_db->m_languages))
        if (std::strcmp(language.strLang, name) == 0)
            return language.idLang;
    return 0;
}
