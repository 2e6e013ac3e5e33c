// Where a drive type's files live: the drive-type, alias, family and encoder maps of the drives
// database, and the page, start page, help, parameter and script paths built on them.
#pragma once

#include <framework/CString.h>
#include <framework/Map.h>

class CTvskDriveDb;

class CTvskDriveFolders
{
public:
    CTvskDriveFolders();

    // Refills the four maps from the database.
    void Rebuild(CTvskDriveDb& drives);
    void Clear();

    // The family of a drive type: looked up directly, else through its alias.
    struct Resolution
    {
        bool found = false;
        bool direct = false; // found in the family map under the type's own name
        CString family;
        CString driveType; // the type itself, or the alias's drive type
    };
    Resolution Resolve(const CString& driveType) const;

    CString PagesDir(const CString& programDir, const CString& driveType, const CString& language,
                     bool typeSubdir) const;
    CString StartPage(const CString& programDir, const CString& driveType, const CString& language,
                      bool typePage) const;
    CString HelpPage(const CString& programDir, const CString& driveType, const CString& language) const;
    CString ParFile(const CString& programDir, const CString& driveType) const;
    // The drive texts of a language, beside the parameter file: "<type>_<language>.str".
    CString DriveTextsFile(const CString& programDir, const CString& driveType,
                           const CString& language) const;
    CString ScriptFile(const CString& programDir, const CString& driveType, const CString& scriptName) const;

    // Drive code -> drive type (its page folder).
    CMap<int, int, CString, const char*>& DriveTypeMap() { return m_driveTypes; }
    CMapStringToString& AliasMap() { return m_aliases; }
    CMapStringToString& FamilyMap() { return m_families; }
    CMapStringToString& EncoderParMap() { return m_encoderPars; }

private:
    CMap<int, int, CString, const char*> m_driveTypes;
    CMapStringToString m_aliases{10};
    CMapStringToString m_families{10};
    CMapStringToString m_encoderPars{10};
};
