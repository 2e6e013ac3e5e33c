// The language holder: the language list, the program's strings of the chosen language and the
// drive type's texts. The chosen language is profile "Settings"/"LangID".
#pragma once

#include <TvskDb/TvskLangDb.h>
#include <TvskDb/TvskStringDb.h>

#include <framework/CString.h>

#include <memory>
#include <vector>

class CTvskLanguage
{
public:
    // Loads the language list from programDir + "/Language.def".
    explicit CTvskLanguage(const CString& programDir);
    virtual ~CTvskLanguage();
    CTvskLanguage(const CTvskLanguage&) = delete;
    CTvskLanguage& operator=(const CTvskLanguage&) = delete;

    int GetLangId() const;
    // FALSE when the id has no language name; else the id goes to the profile.
    BOOL SetLanguage(int id);
    const char* GetLanguageName(int id) const;
    int GetLanguageId(const char* name) const;
    int GetLanguagesNum() const { return m_langDb.GetLanguagesNum(); }
    // Id of entry i of the language list, -1 out of range.
    int GetLanguageIdAt(int i) const { return m_langDb.GetLanguageId(i); }
    // The strings of the profile's language; TRUE when there is nothing to load.
    BOOL LoadStrings();

    // Ids above 49999 are never looked up.
    BOOL GetString(UINT id, CString& text);
    // The name must be a number of at most 49999.
    BOOL GetStringByName(const char* name, CString& text);
    // A text of any language's strings as the chosen language says it; FALSE when no table has it.
    BOOL TranslateText(const char* text, CString& translated);
    // The drive type's texts: 0 loaded, 3 no file, else the file's fault (reported); the texts
    // are empty unless loaded.
    int LoadDriveTexts(const char* path);
    void CloseDriveTexts() { m_parStrings.Close(); }
    BOOL GetParDescrText(const char* name, CString& text, bool opModeSubset);
    void SetSubset(int subset) { m_parStrings.SetSubset(subset); }
    BOOL GetVersion(CString& text) const { return m_parStrings.GetVersion(text) != 0; }
    BOOL GetMenuString(int id, CString& text) const { return m_parStrings.GetMenuString(id, text) != 0; }
    // The program's picture (splash and About box) whose texts are in the chosen language:
    // "splash_<language>.jpg" when there is one, else "splash.jpg".
    CString GetSplashPicturePath() const;

    static constexpr UINT kMaxStringId = 49999;

private:
    CString m_programDir;
    CTvskLangDb m_langDb;
    CTvskStringDb m_strings;
    std::vector<std::unique_ptr<CTvskStringDb>> m_allStrings; // every language's, loaded when first asked
    CTvskStringParDb m_parStrings;
};
