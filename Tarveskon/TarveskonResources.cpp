// Layout of the main dialog: the main page above, the status strip along the bottom.
#include "TarveskonDlg.h"

namespace
{

const DlgItem kMainItems[] = {
    {DlgKind::Frame, IDC_MAIN_PAGE_PLACEHOLDER, 0, 0, 520, 358},
    {DlgKind::Frame, IDC_STATUS_PAGE_PLACEHOLDER, 0, 358, 520, 22},
};
const DialogTemplate kMainTemplate = {
    "Tarveskon", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
    520,         380,
    kMainItems,  static_cast<int>(std::size(kMainItems))};

struct Registration
{
    Registration() { AfxRegisterDialogTemplate(IDD_TARVESKON_DIALOG, &kMainTemplate); }
};

const Registration g_registration;

} // namespace
