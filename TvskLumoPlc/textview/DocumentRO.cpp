#include "DocumentRO.h"

IMPLEMENT_DYNAMIC(CDocumentRO, CDocument)

void CDocumentRO::SetReadOnly(BOOL readOnly)
{
    m_bReadOnly = (readOnly || m_bForcedReadOnly) ? TRUE : FALSE;
    UpdateAllViews(nullptr, HINT_READONLY_CHANGED, reinterpret_cast<CObject*>(&m_bReadOnly));
}

void CDocumentRO::SetForcedReadOnly(BOOL forced)
{
    m_bForcedReadOnly = forced ? TRUE : FALSE;
    SetReadOnly(forced);
}

CString CDocumentRO::GetPathName(BOOL withoutExtension) const
{
    // Only the file name's extension: points in directory names stay.
    const int slash = m_strPath.ReverseFind('/');
    const int point = m_strPath.ReverseFind('.');
    return withoutExtension && point > slash ? m_strPath.Left(point) : m_strPath;
}

void CDocumentRO::SetPathName(const char* pathName)
{
    CDocument::SetPathName(pathName);
    m_strPath = pathName ? pathName : "";
}

void CDocumentRO::MarkTitle(const char* mark, BOOL modified)
{
    CString title = GetTitle();
    const int length = static_cast<int>(std::strlen(mark));
    const bool marked = title.GetLength() >= length && title.Right(length) == mark;
    if (modified && !marked)
        title += mark;
    else if (!modified && marked)
        title = title.Left(title.GetLength() - length);
    SetTitle(title);
}

void CDocumentRO::SetModifiedFlag(BOOL modified)
{
    CDocument::SetModifiedFlag(modified);
    MarkTitle(" *", modified);
}

void CDocumentRO::RecalcFrames()
{
    for (CView* view : GetViews())
        for (CWnd* parent = view->GetParent(); parent; parent = parent->GetParent())
            if (auto* frame = dynamic_cast<CLayoutFrame*>(parent))
            {
                frame->RecalcLayout();
                return;
            }
}

void CDocumentRO::GetStringList(CStringArray& list) const
{
    list.RemoveAll();
    if (auto* view = dynamic_cast<CListQueryView*>(GetFirstView()))
        view->GetStringList(list);
}

CString CDocumentRO::GetListString(int first, int second) const
{
    auto* view = dynamic_cast<CListQueryView*>(GetFirstView());
    return view ? view->GetListString(first, second) : CString();
}
