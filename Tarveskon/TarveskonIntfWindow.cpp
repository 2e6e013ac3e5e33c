// The main dialog's side of the automation object.
#include "TarveskonIntfWindow.h"

#include "TarveskonDlg.h"
#include "TvskMessages.h"

#include <ui/App.h>
#include <ui/RecentFileList.h>

namespace
{

CRecentFileList* RecentFiles()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pRecentFileList.get() : nullptr;
}

} // namespace

void CTarveskonIntfWindow::Post(IntfWindowCall call)
{
    if (m_dialog.GetSafeHwnd())
        m_dialog.PostMessage(WM_INTF_WINDOW, static_cast<WPARAM>(call), 0);
}

bool CTarveskonIntfWindow::IsSelectedRoventar()
{
    return CTvskDataDb::IsRoventar(m_dialog.Manager().DataDb().GetDriveType());
}

int CTarveskonIntfWindow::RecentFileCount()
{
    CRecentFileList* recent = RecentFiles();
    int count = 0;
    while (recent && count < recent->GetSize() && !(*recent)[count].IsEmpty())
        ++count;
    return count;
}

CString CTarveskonIntfWindow::RecentFile(int index)
{
    CRecentFileList* recent = RecentFiles();
    return recent ? (*recent)[index] : CString();
}
