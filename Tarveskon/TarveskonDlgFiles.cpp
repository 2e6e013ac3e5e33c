// The main dialog's file commands: new, open (sessions and imported listings), save, save as and
// the recent files.
#include "TarveskonDlg.h"

#include <ZoSupport/ResourceString.h>
#include <ui/App.h>
#include <ui/FileDialog.h>

#include <cstring>

namespace
{

constexpr DWORD kFileBoxFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr UINT kPluginRunsText = 2143;

bool IsListing(const CString& path)
{
    return path.GetLength() >= 4 && path.Right(4).CompareNoCase(".slv") == 0;
}

CRecentFileList* RecentFiles()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pRecentFileList.get() : nullptr;
}

} // namespace

bool CTarveskonDlg::RefusedWhilePluginRuns()
{
    if (m_nPluginRuns == 0)
        return false;
    MessageBox(nullptr, LocalString(kPluginRunsText), MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void CTarveskonDlg::OnFileNew()
{
    if (RefusedWhilePluginRuns() || !m_manager.CanClose())
        return;
    m_loaderProxy.Reset();
    m_manager.NewFile();
    if (m_bStartPage)
        m_wndMain.SetMotorImage();
    else
        ShowStartPage();
    SetDataString(nullptr);
    ForgetHelp();
    OpenHelp(m_manager.GetHelpPagePath(kStartHelpFolder));
}

void CTarveskonDlg::OnFileOpen()
{
    if (RefusedWhilePluginRuns())
    {
        m_strFileToOpen.Empty();
        return;
    }
    m_bImportedSlv = 0;
    CString path = m_strFileToOpen;
    m_strFileToOpen.Empty();
    if (path.IsEmpty())
    {
        CFileDialog box(TRUE, ".par", nullptr, kFileBoxFlags, LocalString(2087), this);
        if (box.DoModal() != IDOK)
            return;
        path = box.GetPathName();
    }
    OpenChosenFile(path);
}

void CTarveskonDlg::OpenChosenFile(const CString& path)
{
    if (IsListing(path) && !m_bStartPage)
    {
        MessageBox(nullptr, LocalString(2088), MB_OK | MB_ICONERROR);
        return;
    }
    if (!m_manager.CanClose())
        return;
    m_manager.CloseAll();
    m_loaderProxy.Reset();
    ForgetHelp();
    if (IsListing(path))
    {
        if (m_manager.ImportSlv(path) != 0)
        {
            MessageBox(nullptr, m_manager.GetImportErrorText(), MB_OK | MB_ICONERROR);
            m_manager.NewFile();
            if (!m_bStartPage)
                ShowStartPage();
            return;
        }
        m_bImportedSlv = 1;
        if (m_bStartPage && !(m_manager.IsDriveChosen() && m_manager.IsMotorChosen()))
            MessageBox(nullptr, LocalString(2086), MB_OK | MB_ICONINFORMATION);
        return;
    }
    const int result = m_manager.OpenFile(path);
    // A file of another language switched the program's language, also when it failed later on.
    ApplyLanguage();
    if (result != 0)
    {
        MessageBox(nullptr, m_manager.GetFileErrorText(result), MB_OK | MB_ICONERROR);
        RemoveFromRecentFiles(path);
        m_wndMain.UpdateMRUValue();
        m_manager.NewFile();
        if (!m_bStartPage)
            ShowStartPage();
        return;
    }
    AddToRecentFileList(path);
    ShowWizardPage();
    SetDataString(nullptr);
    UpdateSystemMenu();
    OpenHelp(m_manager.GetHelpPagePath(nullptr));
}

void CTarveskonDlg::RemoveFromRecentFiles(const CString& path)
{
    CRecentFileList* recent = RecentFiles();
    if (!recent)
        return;
    for (int i = 0; i < recent->GetSize(); ++i)
        if ((*recent)[i].CompareNoCase(path) == 0)
        {
            recent->Remove(i);
            recent->WriteList();
            return;
        }
}

void CTarveskonDlg::OnFileSave()
{
    const CString path = m_manager.GetFileName();
    if (path.IsEmpty())
    {
        OnFileSaveAs();
        return;
    }
    if (m_manager.SaveFile(path) == 2)
        MessageBox(nullptr, GetResourceString(2004), MB_OK | MB_ICONERROR);
    AfterSave();
}

bool CTarveskonDlg::ChooseSavePath(CString& path)
{
    for (;;)
    {
        CFileDialog box(FALSE, nullptr, nullptr, kFileBoxFlags, LocalString(2087), this);
        if (box.DoModal() != IDOK)
            return false;
        path = box.GetPathName();
        if (path.IsEmpty() || box.GetFileName().IsEmpty())
        {
            MessageBox(nullptr, GetResourceString(2113), MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        if (!box.GetFileExt().IsEmpty())
            return true;
        if (box.m_ofn.nFilterIndex == 1)
        {
            path += ".dat";
            return true;
        }
        if (box.m_ofn.nFilterIndex == 2)
        {
            path += ".slv";
            return true;
        }
        MessageBox(nullptr, GetResourceString(2113), MB_OK | MB_ICONEXCLAMATION);
    }
}

bool CTarveskonDlg::ChooseFile(CWnd* owner, bool open, const CString& filter, const char* defaultExt,
                               const CString& title, CString& path)
{
    CFileDialog box(open ? TRUE : FALSE, defaultExt, path.IsEmpty() ? nullptr : path.GetString(),
                    open ? OFN_HIDEREADONLY | OFN_FILEMUSTEXIST : kFileBoxFlags,
                    filter.IsEmpty() ? nullptr : filter.GetString(), owner ? owner : this);
    if (!title.IsEmpty())
        box.m_ofn.lpstrTitle = title.GetString();
    if (box.DoModal() != IDOK)
        return false;
    path = box.GetPathName();
    return true;
}

void CTarveskonDlg::BeginWait(CWnd* owner, const CString& text)
{
    m_pWaitOwner = owner ? owner : this;
    m_strWaitText = text;
    m_wait.Start(m_pWaitOwner, text);
    if (CWinApp* app = AfxGetApp())
        app->BeginWaitCursor();
}

void CTarveskonDlg::EndWait()
{
    if (CWinApp* app = AfxGetApp())
        app->EndWaitCursor();
    m_wait.Stop();
    if (m_pTransfer)
    {
        m_pTransfer->DestroyWindow();
        m_pTransfer.reset();
    }
}

bool CTarveskonDlg::ShowTransferProgress(int done, int total, const CString& note)
{
    if (!m_pTransfer)
    {
        m_wait.Stop();
        auto window = std::make_unique<CDlgTransferProgress>();
        if (!window->Create(m_pWaitOwner ? m_pWaitOwner : this, m_strWaitText))
            return false;
        m_pTransfer = std::move(window);
    }
    CString count;
    count.Format(LocalString(2135).GetString(), done, total);
    m_pTransfer->SetProgress(count, note);
    // The Cancel button and the window's painting get their turn between two exchanges.
    AfxPumpMessages(0);
    return m_pTransfer->CancelPressed();
}

void CTarveskonDlg::OnFileSaveAs()
{
    CString path;
    if (!ChooseSavePath(path))
        return;
    if (m_manager.SaveFile(path) == 2)
        MessageBox(nullptr, GetResourceString(2004), MB_OK | MB_ICONERROR);
    AfterSave();
}

// The title shows the name and the cleared mark; a saved file heads the start page's recent files.
void CTarveskonDlg::AfterSave()
{
    m_manager.UpdateTitle();
    if (m_bStartPage)
        m_wndMain.UpdateMRUValue();
}

void CTarveskonDlg::OnHtmlTagCommand(const char* anchorId)
{
    // Only "MRU0".."MRU7" naming an entry open a file.
    CRecentFileList* recent = RecentFiles();
    if (!anchorId || !recent || std::strlen(anchorId) != 4 || std::strncmp(anchorId, "MRU", 3) != 0)
        return;
    const int index = anchorId[3] - '0';
    if (index < 0 || index >= recent->GetSize() || (*recent)[index].IsEmpty())
        return;
    m_strFileToOpen = (*recent)[index];
    PostMessage(WM_COMMAND, ID_FILE_OPEN, 0);
}
