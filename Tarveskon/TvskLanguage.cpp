// The language holder.
#include "TvskLanguage.h"

#include <ZoSupport/ProgramError.h>
#include <framework/File.h>
#include <registry/Profile.h>

#include <cctype>
#include <cstdlib>

namespace
{

constexpr const char* kSection = "Settings";
constexpr const char* kLangEntry = "LangID";

} // namespace

CTvskLanguage::CTvskLanguage(const CString& programDir) : m_programDir(programDir)
{
    m_langDb.Load(m_programDir + "/Language.def");
}

CTvskLanguage::~CTvskLanguage() = default;

int CTvskLanguage::GetLangId() const
{
    return static_cast<int>(CProfile::Instance().GetProfileInt(kSection, kLangEntry, 0));
}

BOOL CTvskLanguage::SetLanguage(int id)
{
    if (!GetLanguageName(id))
        return FALSE;
    CProfile::Instance().WriteProfileInt(kSection, kLangEntry, id);
    return TRUE;
}

CString CTvskLanguage::GetSplashPicturePath() const
{
    if (const char* name = GetLanguageName(GetLangId()))
        if (const CString own = m_programDir + "/splash_" + name + ".jpg"; FileExists(own))
            return own;
    return m_programDir + "/splash.jpg";
}

const char* CTvskLanguage::GetLanguageName(int id) const
{
    return m_langDb.GetLanguageNameFromId(id);
}

int CTvskLanguage::GetLanguageId(const char* name) const
{
    return name ? m_langDb.GetLanguageIdFromName(name) : 0;
}

BOOL CTvskLanguage::LoadStrings()
{
    const char* name = GetLanguageName(GetLangId());
    if (!name)
        return TRUE;
    CString path;
    path.Format("%s/%s%s", m_programDir.GetString(), name, ".str");
    return m_strings.Load(path) == 0;
}

BOOL CTvskLanguage::GetString(UINT id, CString& text)
{
    if (id > kMaxStringId)
        return FALSE;
    return m_strings.GetString(static_cast<unsigned long>(id), text, false) != 0;
}

BOOL CTvskLanguage::TranslateText(const char* text, CString& translated)
{
    if (!text || !*text)
        return FALSE;
    if (m_allStrings.empty())
        for (int i = 0; i < m_langDb.GetLanguagesNum(); ++i)
            if (const char* name = GetLanguageName(GetLanguageIdAt(i)))
            {
                auto strings = std::make_unique<CTvskStringDb>();
                if (strings->Load(FormatString("%s/%s.str", m_programDir.GetString(), name)) == 0)
                    m_allStrings.push_back(std::move(strings));
            }
    CString key;
    for (const std::unique_ptr<CTvskStringDb>& strings : m_allStrings)
        if (strings->FindKey(text, key))
            return GetStringByName(key, translated) && !translated.IsEmpty();
    return FALSE;
}

BOOL CTvskLanguage::GetStringByName(const char* name, CString& text)
{
    text.Empty();
    if (!name || !std::isdigit(static_cast<unsigned char>(*name)))
        return FALSE;
    char* end = nullptr;
    const unsigned long number = std::strtoul(name, &end, 10);
    if (*end != '\0' || number > kMaxStringId)
        return FALSE;
    return m_strings.GetString(name, text, false) != 0;
}

int CTvskLanguage::LoadDriveTexts(const char* path)
{
    const int result = m_parStrings.Load(path);
    if (result != 0)
    {
        if (result != 3)
            ProgramError(__FILE__, __LINE__,
                         FormatString("%s: %s", path, m_parStrings.GetErrorString().GetString()));
        m_parStrings.Close();
    }
    return result;
}

BOOL CTvskLanguage::GetParDescrText(const char* name, CString& text, bool opModeSubset)
{
    text.Empty();
    if (!name || !*name)
        return FALSE;
    return m_parStrings.GetParDescr(name, text, opModeSubset) != 0;
}
