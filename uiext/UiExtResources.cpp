// Layouts of the library's dialogs: the about box and the wait dialog.
#include "AboutDlg.h"
#include "Wait.h"

namespace
{

const DlgItem kAboutItems[] = {
    {DlgKind::Frame, IDC_ABOUT_PICTURE, 0, 0, 243, 117},
    {DlgKind::CText, IDC_ABOUT_VERSION, 5, 123, 234, 8},
    {DlgKind::CText, IDC_ABOUT_DATABASES, 5, 136, 234, 8},
    {DlgKind::CText, IDC_ABOUT_BUILD, 49, 149, 150, 8},
    {DlgKind::CText, IDC_ABOUT_LEGAL, 71, 162, 106, 8},
    {DlgKind::CText, IDC_ABOUT_LINK, 20, 175, 207, 8},
    {DlgKind::DefPushButton, IDOK, 97, 188, 50, 14, "OK"},
};
const DialogTemplate kAboutTemplate = {"",          WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                       243,         206,
                                       kAboutItems, static_cast<int>(std::size(kAboutItems))};

const DlgItem kWaitItems[] = {
    {DlgKind::CText, IDC_WAIT_TEXT, 2, 7, 151, 8},
};
const DialogTemplate kWaitTemplate = {
    "", WS_POPUP | DS_MODALFRAME, 155, 22, kWaitItems, static_cast<int>(std::size(kWaitItems))};

struct Registration
{
    Registration()
    {
        AfxRegisterDialogTemplate(IDD_ABOUTBOX, &kAboutTemplate);
        AfxRegisterDialogTemplate(IDD_DLG_WAIT, &kWaitTemplate);
    }
};

const Registration g_registration;

} // namespace
