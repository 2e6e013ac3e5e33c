// The print loop of views.
#include "DocView.h"
#include "PrintInfo.h"

CPrintInfo::CPrintInfo()
    : m_pPD(std::make_unique<CPrintDialog>(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION |
                                                      PD_HIDEPRINTTOFILE | PD_RETURNDC))
{
}

UINT CPrintInfo::GetFromPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nToPage : GetMaxPage();
}

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    if (!info)
        return FALSE;
    info->m_pPD->m_pd.Flags |= PD_RETURNDC;
    return info->m_pPD->DoModal() == IDOK && info->m_pPD->GetPrinterDC() ? TRUE : FALSE;
}

BOOL CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return FALSE;
    CPrinterDC* dc = info.m_pPD->GetPrinterDC();
    if (!dc)
        return FALSE;
    // The document is started first so that the context answers for the page it draws on.
    const CString title = m_pDocument ? m_pDocument->GetTitle() : CString();
    bool ok = dc->StartDoc(title) > 0;
    if (ok)
        OnBeginPrinting(dc, &info);
    for (UINT page = info.GetFromPage(); ok && page <= info.GetToPage(); ++page)
    {
        info.m_nCurPage = page;
        OnPrepareDC(dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        ok = dc->StartPage() > 0;
        if (!ok)
            break;
        info.m_rectDraw = CRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
        OnPrint(dc, &info);
        ok = dc->EndPage() > 0;
    }
    ok = (ok ? dc->EndDoc() : dc->AbortDoc()) > 0 && ok;
    OnEndPrinting(dc, &info);
    return ok ? TRUE : FALSE;
}
