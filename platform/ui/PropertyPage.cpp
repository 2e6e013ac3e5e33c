// Property pages as child dialogs.
#include "PropertyPage.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CCmdTarget)

CPropertyPage::CPropertyPage() = default;

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId) {}

BOOL CPropertyPage::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    const DialogTemplate* found = FindTemplate();
    if (!found)
        return FALSE;
    // The page lives inside the sheet: no frame of its own.
    DialogTemplate page = *found;
    page.style =
        (page.style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME)) | WS_CHILD;
    return CreateIndirect(&page, parent);
}
