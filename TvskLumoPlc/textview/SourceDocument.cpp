#include "SourceDocument.h"

IMPLEMENT_DYNCREATE(CSourceDocument, CDocumentRO)

void CSourceTextBuffer::SetModified(BOOL modified)
{
    CCrystalTextBuffer::SetModified(modified);
    if (m_pOwner)
        m_pOwner->SetModifiedFlag(modified);
}

CSourceDocument::CSourceDocument() : m_xTextBuffer(this)
{
    m_lf.lfHeight = -MulDiv(8, 96, 72);
    m_lf.lfWeight = FW_NORMAL;
    CopyTextCut(m_lf.lfFaceName, "Courier");
}

BOOL CSourceDocument::OnNewDocument()
{
    if (!CDocumentRO::OnNewDocument())
        return FALSE;
    m_bOpenedReadOnly = FALSE;
    m_xTextBuffer.InitEmpty(CRLF_STYLE_MAC);
    return TRUE;
}

BOOL CSourceDocument::OnOpenDocument(const char* pathName)
{
    // The new text replaces the old one only once it is read: a file that cannot be read loses nothing.
    if (!m_xTextBuffer.LoadFile(pathName, CRLF_STYLE_AUTOMATIC))
        return FALSE;
    SetModifiedFlag(FALSE);
    SetPathName(pathName);
    m_bOpenedReadOnly = m_xTextBuffer.GetReadOnly();
    SetReadOnly(m_bOpenedReadOnly);
    return TRUE;
}

BOOL CSourceDocument::OnSaveDocument(const char* pathName)
{
    return m_xTextBuffer.SaveFile(pathName, CRLF_STYLE_AUTOMATIC, TRUE);
}

void CSourceDocument::DeleteContents()
{
    CDocumentRO::DeleteContents();
    m_xTextBuffer.FreeAll();
}

void CSourceDocument::SetModifiedFlag(BOOL modified)
{
    CDocument::SetModifiedFlag(modified);
    MarkTitle("*", modified);
}

void CSourceDocument::SetReadOnly(BOOL readOnly)
{
    CDocumentRO::SetReadOnly(m_bOpenedReadOnly ? TRUE : readOnly);
    m_xTextBuffer.SetReadOnly(IsReadOnly());
}
