#include "VrnSerWarningBox.h"

#include <kernel/SharedLibrary.h>
#include <ui/MessageBox.h>

namespace
{
CVrnSerWarningBox g_warningBox;
} // namespace

void CVrnSerWarningBox::ShowWarning(const char* text, const char* caption)
{
    AfxShowMessageBox(nullptr, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

bool InstallVrnSerWarningSink(const CSharedLibrary& module)
{
    using SetHook = CWarningSink* (*)(CWarningSink*);
    auto setHook = reinterpret_cast<SetHook>(module.Symbol("VrnSerSetWarningSink"));
    if (!setHook)
        return false;
    setHook(&g_warningBox);
    return true;
}
