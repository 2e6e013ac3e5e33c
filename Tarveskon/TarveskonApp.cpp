// The application object and the program's entry.
#include "TarveskonApp.h"

#include "DisplayCheck.h"
#include "TarveskonDlg.h"
#include "TvskLanguage.h"
#include "TvskStrings.h"
#include "ExceptionAttacher.h"
#include "RootSandbox.h"

#include <TvskDb/TvskVerDb.h>
#include <ZoSupport/FileManager.h>
#include <ZoSupport/ResourceString.h>
#include <com/ComRuntime.h>
#include <com/Guid.h>
#include <kernel/ProgramLocator.h>
#include <registry/Registry.h>
#include <registry/RegistryStore.h>
#include <uiext/AboutDlg.h>
#include <ui/MessageBox.h>
#include <web/engine/EngineCheck.h>

#include <VrnSerConfigDlg.h>
#include <VrnSerWarningBox.h>

#include <QApplication>

#include <kernel/SharedLibrary.h>

#include <csignal>
#include <utility>
#include <cstdio>
#include <unistd.h>

namespace
{

constexpr const char* kTypeLibraryId = "{B64F50EF-D219-493C-B369-AB177549D545}";

// The program's type library, as the component layer lists libraries.
bool RegisterTypeLibrary(const CString& programDir)
{
    const CString key = CString("TypeLib\\") + kTypeLibraryId + "\\1.0";
    const CString file = programDir + "/Tarveskon.tlb";
    HKEY version = nullptr;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &version, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const char* description = "Tarveskon";
    bool ok = RegSetValueEx(version, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(description),
                            static_cast<DWORD>(std::strlen(description) + 1)) == ERROR_SUCCESS;
    HKEY library = nullptr;
    ok = ok &&
         RegCreateKeyEx(version, "0", 0, nullptr, 0, KEY_WRITE, nullptr, &library, nullptr) == ERROR_SUCCESS;
    if (library)
    {
        ok = ok && RegSetValueEx(library, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(file.GetString()),
                                 static_cast<DWORD>(file.GetLength() + 1)) == ERROR_SUCCESS;
        RegCloseKey(library);
    }
    RegCloseKey(version);
    return ok;
}

// The protocol component shows its settings and its warnings through the window layer.
void InstallProtocolWindows(const CString& programDir)
{
    // Kept loaded for the program's life: the component holds the dialog and sink the hooks hand it.
    static CSharedLibrary component;
    if (!component.IsOpen() && component.Open((programDir + "/VrnSer.so").GetString()))
    {
        InstallVrnSerConfigDialog(component);
        InstallVrnSerWarningSink(component);
    }
}

} // namespace

CTarveskonApp::CTarveskonApp() : CWinApp("Tarveskon") {}

CString CTarveskonApp::GetImageDir() const
{
    CString dir;
    dir.Format("%s%s", m_strProgramDir.GetString(), (m_strCommonSubdir + "/Image").GetString());
    return dir;
}

CString CTarveskonApp::GetPagesDir() const
{
    return m_strProgramDir + m_strCommonSubdir;
}

BOOL CTarveskonApp::InitInstance()
{
    tvsk::app::ToolkitStarted();
    RegisterTvskStrings();
    if (FAILED(CoInitialize(nullptr)))
    {
        AfxMessageBox(GetResourceString(100));
        return FALSE;
    }
    // The entry made the program's folder current.
    RegisterTypeLibrary(CFileManager().GetCurrentDirectory());
    SetRegistryKey("MurnApps");
    // The user's settings live in the user's own folder from the first start on.
    if (tvsk::registry::CreateUserStore() != ERROR_SUCCESS)
        std::fprintf(stderr, "Tarveskon: the settings store %s cannot be made; settings are not kept\n",
                     tvsk::registry::StoreFilePath(tvsk::registry::StorePart::User).c_str());
    LoadStdProfileSettings(8);
    if (!CheckBrowserVersion())
        return FALSE;
    m_strProgramDir = CFileManager().GetCurrentDirectory();
    InstallProtocolWindows(m_strProgramDir);
    ShowSplash();

    CTarveskonDlg dialog(m_strProgramDir);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

BOOL CTarveskonApp::CheckBrowserVersion()
{
    if (tvsk::web::PageEngineStarts())
        return TRUE;
    AfxMessageBox(GetResourceString(107), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

void CTarveskonApp::ShowSplash()
{
    CAboutDlg splash(true, 5000);
    splash.m_strPicturePath = CTvskLanguage(m_strProgramDir).GetSplashPicturePath();
    splash.m_strHyperlink = GetProfileString("Settings", "HomePage", "");
    // The installed versions: the manager that knows the ones in use does not exist yet.
    CTvskVerDb versions;
    if (versions.Load(m_strProgramDir + "/Versions.txt") == 0)
        for (auto [text, version] : {std::pair{&splash.m_strProductVersion, versions.GetReleaseVer()},
                                     std::pair{&splash.m_strMotorDbVersion, versions.GetMotorsVer()},
                                     std::pair{&splash.m_strDriveDbVersion, versions.GetDrivesVer()}})
            if (version && *version)
                *text = version;
    splash.DoModal();
}

CTarveskonApp theApp;

int main(int argc, char** argv)
{
    if (!tvsk::app::DisplayReachable(argc, argv))
    {
        std::fprintf(stderr, "%s\n", tvsk::app::kNeedsDisplay);
        return 1;
    }
    tvsk::app::ExitOnFatalToolkitStart();
    tvsk::app::TurnSandboxOffForRoot();
    ExceptionAttacher::Install();
    // Under a file size limit a save then fails with EFBIG and reports it, instead of the signal
    // ending the program halfway through.
    ::signal(SIGXFSZ, SIG_IGN);
    // The program's data lies beside it, wherever the user starts it.
    const std::string programDir = tvsk::kernel::ProgramDirectory();
    if (programDir.empty() || ::chdir(programDir.c_str()) != 0)
        return 1;
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return AfxWinMain(argc, argv);
}
