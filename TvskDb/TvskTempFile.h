// A file created exclusively under a unique name in a given folder, removed unless renamed.
#pragma once

#include <framework/CString.h>

#include <cstddef>

class CTvskTempFile
{
public:
    CTvskTempFile() = default;
    CTvskTempFile(const CTvskTempFile&) = delete;
    CTvskTempFile& operator=(const CTvskTempFile&) = delete;
    ~CTvskTempFile(); // closes and removes the file unless RenameTo moved it

    // Creates "<folder>/<prefix><unique><suffix>"; false when no such file can be created.
    bool Create(const char* folder, const char* prefix, const char* suffix);
    // Creates the save temporary of target beside it (CFile::SaveTempName), after removing those
    // that earlier saves of target left.
    bool CreateFor(const char* target);
    bool Write(const char* data, size_t length);
    bool Write(const CString& text) { return Write(text.GetString(), static_cast<size_t>(text.GetLength())); }
    // Flushes to disk and closes; false when either failed.
    bool Close();
    // Moves the closed file over path; false (file kept for removal) on failure.
    bool RenameTo(const char* path);
    // Closes (when open) and deletes the file now.
    void Remove();

    const CString& Path() const noexcept { return m_path; }

private:
    int m_fd = -1;
    CString m_path;
};
