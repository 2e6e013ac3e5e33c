// The document of a source text: an embedded text buffer that tells the document of changes.
#pragma once

#include "DocumentRO.h"

#include <TvskLumoPlc/text/CrystalTextBuffer.h>

#include <ui/Gdi.h>

class CSourceDocument;

// The buffer a source document embeds: its modified state is the document's.
class CSourceTextBuffer : public CCrystalTextBuffer
{
public:
    explicit CSourceTextBuffer(CSourceDocument* owner) : m_pOwner(owner) {}
    void SetModified(BOOL modified = TRUE) override;

private:
    CSourceDocument* m_pOwner;
};

class CSourceDocument : public CDocumentRO
{
    DECLARE_DYNCREATE(CSourceDocument)

public:
    CSourceDocument();

    // An empty text with single "\n" line ends.
    BOOL OnNewDocument() override;
    // The file with its line ends detected; FALSE (the text kept) when it cannot be read.
    BOOL OnOpenDocument(const char* pathName) override;
    // Written with the line ends it was loaded with; FALSE when writing failed.
    BOOL OnSaveDocument(const char* pathName) override;
    void DeleteContents() override;
    // Stores the flag and marks the title with a trailing "*" while modified.
    void SetModifiedFlag(BOOL modified = TRUE) override;
    // Read-only when opened so, else as given; the views hear hint 30 and the buffer follows.
    void SetReadOnly(BOOL readOnly) override;

    CCrystalTextBuffer& GetTextBuffer() noexcept { return m_xTextBuffer; }
    const LOGFONT& GetLogFont() const noexcept { return m_lf; }

private:
    CSourceTextBuffer m_xTextBuffer;
    LOGFONT m_lf;
    BOOL m_bOpenedReadOnly = FALSE;
};
