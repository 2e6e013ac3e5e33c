#include "ConfigDialog.h"

namespace
{
std::atomic<CConfigDialog*> g_dialog{nullptr};
}

CConfigDialog* SetVrnSerConfigDialog(CConfigDialog* dialog)
{
    return g_dialog.exchange(dialog);
}

CConfigDialog* VrnSerConfigDialog()
{
    return g_dialog.load();
}
