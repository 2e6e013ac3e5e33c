// The resizable pages' handlers.
#include "ResizablePage.h"

IMPLEMENT_DYNCREATE(CResizablePage, CPropertyPage)
IMPLEMENT_DYNCREATE(CResizablePageEx, CResizablePage)

CResizablePage::CResizablePage() = default;

CResizablePage::CResizablePage(UINT templateId) : CPropertyPage(templateId) {}

BOOL CResizablePage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_bInitDone = TRUE;
    return result;
}

void CResizablePage::OnSize(UINT type, int cx, int cy)
{
    CPropertyPage::OnSize(type, cx, cy);
    if (m_bInitDone)
        ArrangeLayout();
}

BOOL CResizablePage::OnEraseBkgnd(CDC* dc)
{
    ClipChildren(dc);
    return CPropertyPage::OnEraseBkgnd(dc);
}

CResizablePageEx::CResizablePageEx() = default;

CResizablePageEx::CResizablePageEx(UINT templateId) : CResizablePage(templateId) {}

BOOL CResizablePageEx::NeedsRefresh(HWND wnd)
{
    if (m_psp.dwFlags & PSP_HIDEHEADER)
        return TRUE;
    return CResizablePage::NeedsRefresh(wnd);
}
