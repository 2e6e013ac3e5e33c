#include "PagerIds.h"

#include <ui/Dialog.h>
#include <ui/Resources.h>

#include <iterator>

namespace
{

const char g_moduleTag = 0;

const DlgItem kItems[] = {{DlgKind::LText, IDC_PAGER_FRAME, 0, 0, 417, 237, ""}};
const DialogTemplate kDialog = {"",     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                                417,    237,
                                kItems, static_cast<int>(std::size(kItems))};

HINSTANCE Tag()
{
    return reinterpret_cast<HINSTANCE>(const_cast<char*>(&g_moduleTag));
}

struct Registration
{
    Registration() { AfxRegisterDialogTemplate(IDD_PAGER, &kDialog, Tag()); }
};

} // namespace

HINSTANCE PagerModule()
{
    static const Registration registration;
    return Tag();
}
