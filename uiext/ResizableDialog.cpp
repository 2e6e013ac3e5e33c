// The resizable dialog's handlers joining layout, grip, limits and saved state.
#include "ResizableDialog.h"

CResizableDialog::CResizableDialog() = default;

CResizableDialog::CResizableDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CResizableDialog::CResizableDialog(const char* templateName, CWnd* parent) : CDialog(templateName, parent) {}

void CResizableDialog::EnableSaveRestore(const char* section, BOOL rectOnly)
{
    m_sSection = section;
    m_bRectOnly = rectOnly;
    m_bEnableSaveRestore = TRUE;
    LoadWindowRect(section, rectOnly);
}

int CResizableDialog::OnCreate(CREATESTRUCT* createStruct)
{
    if (CDialog::OnCreate(createStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    ModifyStyle(DS_MODALFRAME, WS_POPUP | WS_THICKFRAME);
    // Keep the client area as designed under the sizing frame.
    CRect window;
    GetWindowRect(&window);
    CRect clientNow;
    GetClientRect(&clientNow);
    SetWindowPos(nullptr, 0, 0, window.Width() + client.Width() - clientNow.Width(),
                 window.Height() + client.Height() - clientNow.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    return InitGrip() ? 0 : -1;
}

BOOL CResizableDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    CRect window;
    GetWindowRect(&window);
    SetMinTrackSize(window.Size());
    UpdateGripPos();
    m_bInitDone = TRUE;
    return result;
}

void CResizableDialog::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (type == SIZE_MAXSHOW || type == SIZE_MAXHIDE || !m_bInitDone)
        return;
    UpdateGripPos();
    ArrangeLayout();
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (m_bInitDone)
        MinMaxInfo(info);
}

BOOL CResizableDialog::OnEraseBkgnd(CDC* dc)
{
    ClipChildren(dc);
    return CDialog::OnEraseBkgnd(dc);
}

void CResizableDialog::OnDestroy()
{
    if (m_bEnableSaveRestore)
        SaveWindowRect(m_sSection, m_bRectOnly);
    RemoveAllAnchors();
    CDialog::OnDestroy();
}
