// The texts shown in the current language: the program's strings and one drive type's strings.
#pragma once

#include <TvskDb/TvskDbErrString.h>

#include <framework/Map.h>

#include <map>
#include <memory>

class CStringFileDb;
class CParStringFileDb;

// The program's strings by key, from one file per language.
class CTvskStringDb : public CTvskDbErrString
{
public:
    CTvskStringDb();
    CTvskStringDb(const CTvskStringDb&) = delete;
    CTvskStringDb& operator=(const CTvskStringDb&) = delete;
    virtual ~CTvskStringDb();

    // 0 loaded, 1 out of memory, 2 syntax error (error text set), 3 cannot open or read.
    int Load(const char* path);
    int Close();
    void SetSubset(int subset) { m_nSubset = subset; }
    int GetSubset() const { return m_nSubset; }
    // Without subset: the text of key with "\n" and "\t" expanded. With subset: the text of
    // "<key>_<subset>" as stored. 1 found, 0 not.
    int GetString(const char* key, CString& text, bool subset);
    // The key written in decimal; subset has no effect.
    int GetString(unsigned long key, CString& text, bool subset);
    // The key of a plain key's text (escapes expanded) equal to text; 1 found, 0 not.
    int FindKey(const char* text, CString& key) const;

private:
    std::unique_ptr<CStringFileDb> m_db;
    CMapStringToString m_strings;
    int m_nSubset = -1;
};

// The strings of one drive type's parameters: version, menu texts, descriptions per operating
// mode and resource strings by number.
class CTvskStringParDb : public CTvskDbErrString
{
public:
    CTvskStringParDb();
    CTvskStringParDb(const CTvskStringParDb&) = delete;
    CTvskStringParDb& operator=(const CTvskStringParDb&) = delete;
    virtual ~CTvskStringParDb();

    int Load(const char* path);
    int Close();
    void SetSubset(int subset) { m_nSubset = subset; }
    int GetSubset() const { return m_nSubset; }
    // Nonzero when the file gave a version.
    int GetVersion(CString& text) const;
    // The menu text as stored; 1 found, 0 not.
    int GetMenuString(int number, CString& text) const;
    // The description of the operating mode of the subset (subset true) or of every mode.
    int GetParDescr(const char* key, CString& text, bool subset) const;
    int GetString(unsigned long number, CString& text) const;

private:
    void PostLoad();

    std::unique_ptr<CParStringFileDb> m_db;
    std::map<WORD, std::unique_ptr<CMapStringToString>> m_descriptions;
    CMapStringToString m_resources;
    CMap<int, int, CString, const char*> m_menus;
    int m_nSubset = -1;
    CString m_strVersion;
};

// Expands the escapes of a stored text: "\n" and "\t", with every "$" becoming the same character.
CString ExpandStringEscapes(CString text);
