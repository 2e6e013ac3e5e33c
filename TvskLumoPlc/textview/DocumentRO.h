// A document with a read-only state (forced read-only wins) and a modified mark in its title.
#pragma once

#include <framework/Array.h>
#include <ui/DocView.h>

// Update hint sent when the read-only state changed; the hint object points to the flag (a BYTE).
constexpr LPARAM HINT_READONLY_CHANGED = 30;

// A window that lays its children out again on request: the frame around a document's views.
class CLayoutFrame
{
public:
    virtual ~CLayoutFrame() = default;
    virtual void RecalcLayout() = 0;
};

// A view that answers its document's list queries.
class CListQueryView
{
public:
    virtual ~CListQueryView() = default;
    virtual void GetStringList(CStringArray& list) = 0;
    virtual CString GetListString(int first, int second) = 0;
};

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

    // The frame of the first view that has one lays itself out again.
    void RecalcFrames();
    // The list queries, answered by the first view; empty when it does not answer them.
    void GetStringList(CStringArray& list) const;
    CString GetListString(int first, int second) const;

protected:
    // The title with the mark added or removed.
    void MarkTitle(const char* mark, BOOL modified);

    BYTE m_bReadOnly = FALSE;
    BYTE m_bForcedReadOnly = FALSE;
    CString m_strName;
    CString m_strPath;
};
