// Version texts of our programs, kept as tables built from build-time constants.
#pragma once

#include <framework/CString.h>
#include <framework/VersionTable.h>

// This build's version as a version resource writes it ("1,0,0,0"), for the programs' blocks.
inline constexpr const char* kBuildFileVersion = TVSK_BUILD_FILE_VERSION;

class VersionInfo
{
public:
    // The running program's own file.
    VersionInfo();
    explicit VersionInfo(const char* fileName);

    // Each answers an empty text when the block or the value is missing.
    CString ProductName() const { return Value("ProductName"); }
    CString ProductVersion() const { return Value("ProductVersion"); }
    CString CompanyName() const { return Value("CompanyName"); }
    CString Copyright() const { return Value("LegalCopyright"); }
    CString Comments() const { return Value("Comments"); }
    CString FileDescription() const { return Value("FileDescription"); }
    CString FileVersion() const { return Value("FileVersion"); }
    CString InternalName() const { return Value("InternalName"); }
    CString LegalTrademarks() const { return Value("LegalTrademarks"); }
    CString PrivateBuild() const { return Value("PrivateBuild"); }
    CString SpecialBuild() const { return Value("SpecialBuild"); }

    // Language and code page as "%04x%04x"; empty without a block.
    const CString& Translation() const { return m_strTranslation; }

private:
    void Read(const char* fileName);
    CString Value(const char* name) const;

    const VersionResource* m_pBlock = nullptr;
    CString m_strTranslation;
};
