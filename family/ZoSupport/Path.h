// A path split into drive, folder, name and extension.
#pragma once

#include <framework/CString.h>

class CPath
{
public:
    // Splits path; with isFolder the whole path is a folder (no name or extension).
    explicit CPath(const char* path = nullptr, bool isFolder = false);

    void Set(const char* path, bool isFolder = false);

    // Null while the path is not valid (no path given).
    const char* Drive() const { return Part(m_drive); }   // "C:" or empty
    const char* Path() const { return Part(m_folder); }   // folder with its trailing separator
    const char* Name() const { return Part(m_name); }     // file name without extension
    const char* Ext() const { return Part(m_ext); }       // extension with its dot
    const char* PathName() const { return Part(m_full); } // the whole path
    // Name plus extension, also for an invalid path; valid until the next call.
    const char* FileName() const;

    // True when the file or folder exists.
    bool Exist() const;
    bool IsValid() const { return m_valid != 0; }

private:
    const char* Part(const CString& s) const { return m_valid ? s.GetString() : nullptr; }

    std::int32_t m_valid = 0;
    CString m_full;
    CString m_drive;
    CString m_folder;
    CString m_name;
    CString m_ext;
    mutable CString m_fileName;
};
