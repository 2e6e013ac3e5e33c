// The languages the program offers: identifier and name of each.
#pragma once

#include <TvskDb/TvskDbErrString.h>

#include <memory>

class CLangFileDb;

// Copies share the loaded list; it stays until the last copy closes it.
class CTvskLangDb : public CTvskDbErrString
{
public:
    CTvskLangDb();
    virtual ~CTvskLangDb();

    // 0 loaded, 1 out of memory, 2 syntax error (error text set), 3 cannot open or read; on
    // failure the previous list stays.
    int Load(const char* path);
    int Close();

    int GetLanguagesNum() const;
    // Name of language i; null when nothing is loaded or i is out of range.
    const char* GetLanguageName(int i) const;
    // Identifier of language i; -1 when nothing is loaded or i is out of range.
    int GetLanguageId(int i) const;
    // The first match; null when none.
    const char* GetLanguageNameFromId(int id) const;
    // The first exact match; 0 when none.
    int GetLanguageIdFromName(const char* name) const;

private:
    std::shared_ptr<CLangFileDb> m_db;
};
