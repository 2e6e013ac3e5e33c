// A document with a read-only state (forced read-only wins) and a modified mark in its title.
#pragma once

#include <ui/DocView.h>

// Update hint sent when the read-only state changed; the hint object points to the flag (a BYTE).
constexpr LPARAM HINT_READONLY_CHANGED = 30;

class CDocumentRO : public CDocument
{
    DECLARE_DYNAMIC(CDocumentRO)

public:
    // The flag becomes the argument unless forced read-only; then every view hears hint 30.
    virtual void SetReadOnly(BOOL readOnly);
    void SetForcedReadOnly(BOOL forced);
    BOOL IsReadOnly() const noexcept { return m_bReadOnly; }
    BOOL IsForcedReadOnly() const noexcept { return m_bForcedReadOnly; }

    const CString& GetName() const noexcept { return m_strName; }
    void SetName(const char* name) { m_strName = name ? name : ""; }
    using CDocument::GetPathName;
    // The path, without the file name's extension when asked.
    CString GetPathName(BOOL withoutExtension) const;
    void SetPathName(const char* pathName) override;

    // The modified flag, marked by " *" after the title.
    void SetModifiedFlag(BOOL modified = TRUE) override;

protected:
    // The title with the mark added or removed.
    void MarkTitle(const char* mark, BOOL modified);

    BYTE m_bReadOnly = FALSE;
    BYTE m_bForcedReadOnly = FALSE;
    CString m_strName;
    CString m_strPath;
};
