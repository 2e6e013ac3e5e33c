// The wizard manager: construction, reset, language, strings, title, boxes and the owner stack.
#include "TvskManager.h"

#include "TvskIntf.h"
#include "TvskIntfEvents.h"

#include <ZoSupport/ProgramError.h>
#include <com/Variant.h>
#include <ZoSupport/ResourceString.h>
#include <registry/Profile.h>
#include <ui/UiDefs.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace
{

CString CurrentDirectory()
{
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::current_path(error);
    return error ? CString(".") : CString(dir.string().c_str());
}

bool FileExists(const CString& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path.GetString(), error);
}

} // namespace

CTvskManager::CTvskManager(const char* programDir)
    : m_programDir(programDir && *programDir ? CString(programDir) : CurrentDirectory()),
      m_language(m_programDir), m_ownerThread(std::this_thread::get_id())
{
    m_owners.SetSize(0, 200);
    m_strNotAvail = GetResourceString(2044);
    m_pIntf = new CTvskIntf(this);
    m_pIntf->AddRef();
    m_pIntf->SetFailureBox([this](const CString& text) { MessageBox(text, MB_OK | MB_ICONERROR); });
    m_pIntfEvents = std::make_unique<CTvskIntfEvents>(*m_pIntf);
    m_pIntfEvents->SetRunning([this] { return m_pScript && m_pScript->IsRunning(); });
    m_pEvents = m_pIntfEvents.get();
    Reset();
}

CTvskManager::~CTvskManager()
{
    CloseAll();
    m_owners.RemoveAll();
    m_pEvents = &m_noScripts;
    m_pIntfEvents.reset();
    m_pIntf->Release();
}

void CTvskManager::SetHostUi(CTvskHostUi* ui)
{
    m_pUi = ui ? ui : &m_headlessUi;
}

void CTvskManager::ClearLists()
{
    const std::lock_guard lock(m_lock);
    m_tmpPars.RemoveAll();
    m_monitor.RemoveAll();
    m_pagePars.clear();
}

void CTvskManager::Reset()
{
    StopScript();
    m_bDriveChosen = m_bMotorChosen = m_bDriveWithMotor = false;
    m_strConnDescr.Empty();
    m_dwWatchdogPeriod = 0;
    ClearLists();
    m_strFilePath.Empty();
    SetLastErrorText(CString());
    m_bModified = FALSE;
    m_nErrorCode = 0;
    m_nLastAlarm = -1;
    m_bCanRW = TRUE;
    ChooseProfileLanguage();
    m_nTipHideDelay = static_cast<int>(CProfile::Instance().GetProfileInt("Settings", "TipHideDelay", 5000));
    RebuildFolders();
}

void CTvskManager::CloseAll()
{
    StopScript();
    Disconnect();
    m_bDriveChosen = m_bMotorChosen = m_bDriveWithMotor = false;
    m_bExclusive = FALSE;
    ClearLists();
    m_strFilePath.Empty();
    SetLastErrorText(CString());
    m_motorDb.Close();
    m_driveDb.Close();
    m_parDb.Close();
    m_language.CloseDriveTexts();
    m_verDb.Close();
    m_bVerDbLoaded = false;
    m_bModified = FALSE;
    ChooseProfileLanguage();
    m_bCanRW = TRUE;
}

void CTvskManager::RebuildFolders()
{
    const bool wasOpen = m_driveDb.IsOpen() != 0;
    if (!wasOpen && m_driveDb.Load(m_programDir + "/Drives.db") != 0)
    {
        m_folders.Clear();
        return;
    }
    m_folders.Rebuild(m_driveDb);
    if (!wasOpen)
        m_driveDb.Close();
}

bool CTvskManager::MainPageExists(int) const
{
    // Every language shares the main page; its texts come from the language's strings.
    return FileExists(GetMainPagePath());
}

void CTvskManager::ChooseProfileLanguage()
{
    int id = m_language.GetLangId();
    if (!MainPageExists(id) || !m_language.GetLanguageName(id))
    {
        id = 0;
        m_language.SetLanguage(id);
    }
    m_language.LoadStrings();
}

CString CTvskManager::GetLanguageName() const
{
    const char* name = m_language.GetLanguageName(m_language.GetLangId());
    return name ? CString(name) : CString();
}

BOOL CTvskManager::ChangeLanguage(int id)
{
    const int previous = m_language.GetLangId();
    if (!m_language.SetLanguage(id))
        return FALSE;
    if (!MainPageExists(id) && id != previous)
    {
        m_language.SetLanguage(previous);
        id = previous;
    }
    if (!m_language.LoadStrings())
    {
        // The profile and the strings go back to the language that worked.
        m_language.SetLanguage(previous);
        m_language.LoadStrings();
        return FALSE;
    }
    if (m_dataDb.IsOpen())
        m_dataDb.SetLanguage(GetLanguageName());
    if (id != previous && IsFileOpen())
    {
        // The open configuration's drive texts and descriptions follow.
        LoadDriveTexts();
        RenewDescriptions();
    }
    if (id != previous)
        UpdateTitle(); // "Untitled" is a text of the language
    return TRUE;
}

BOOL CTvskManager::GetString(UINT id, CString& text)
{
    if (!m_language.GetString(id, text) || text.IsEmpty())
        text = GetResourceString(id);
    return TRUE;
}

BOOL CTvskManager::GetStringByName(const char* name, CString& text)
{
    return m_language.GetStringByName(name, text) && !text.IsEmpty();
}

BOOL CTvskManager::GetPrefixedString(const char* name, CString& text)
{
    text.Empty();
    if (!name || std::strncmp(name, "S_", 2) != 0)
        return FALSE;
    return GetStringByName(name + 2, text);
}

BOOL CTvskManager::GetLastErrorText(CString& text)
{
    const std::lock_guard lock(m_lock);
    text = m_strLastError;
    m_strLastError.Empty();
    return TRUE;
}

void CTvskManager::SetLastError(UINT stringId)
{
    CString text;
    GetString(stringId, text);
    SetLastErrorText(text);
}

void CTvskManager::SetLastErrorText(const CString& text)
{
    const std::lock_guard lock(m_lock);
    m_strLastError = text;
}

void CTvskManager::SetScriptEvents(CTvskScriptEvents* events)
{
    m_pEvents = events ? events : m_pIntfEvents.get();
}

void CTvskManager::SetModified(BOOL modified)
{
    m_bModified = modified;
    UpdateTitle();
}

void CTvskManager::UpdateTitle()
{
    CString name;
    if (m_strFilePath.IsEmpty())
        GetString(2043, name);
    else
        name = std::filesystem::path(m_strFilePath.GetString()).filename().string().c_str();
    CString title;
    title.Format("%s - [ %s%c]", m_pUi->GetAppTitle().GetString(), name.GetString(), m_bModified ? '*' : ' ');
    m_pUi->SetMainWindowTitle(title);
}

BOOL CTvskManager::CanClose()
{
    if (!m_bModified)
        return TRUE;
    const int answer = MessageBox(2003, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return FALSE;
    if (answer == IDNO)
        return TRUE;
    CString path = m_strFilePath;
    if (path.IsEmpty() && !m_pUi->ChooseSavePath(path))
        return FALSE;
    if (SaveFile(path) == 2)
    {
        MessageBox(2004, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    return TRUE;
}

void CTvskManager::PushParentWnd(CWnd* wnd)
{
    m_owners.Add(wnd);
}

void CTvskManager::PopParentWnd()
{
    if (m_owners.GetSize() > 0)
        m_owners.RemoveAt(m_owners.GetSize() - 1);
}

CWnd* CTvskManager::GetBoxOwner() const
{
    return m_owners.GetSize() > 0 ? static_cast<CWnd*>(m_owners[m_owners.GetSize() - 1]) : nullptr;
}

int CTvskManager::ShowBox(CWnd* owner, const CString& text, UINT type)
{
    const int answer = m_pUi->MessageBox(owner, text, type);
    m_pUi->PumpMessages(100);
    return answer;
}

int CTvskManager::MessageBox(const CString& text, UINT type)
{
    return ShowBox(GetBoxOwner(), text, type);
}

CString CTvskManager::LocalText(UINT stringId)
{
    CString text;
    GetString(stringId, text);
    return text;
}

int CTvskManager::MessageBox(UINT stringId, UINT type)
{
    CString text;
    GetString(stringId, text);
    return MessageBox(text, type);
}

CString CTvskManager::GetOptionValue(const char* name, int i)
{
    const DBOPT* option = IsFileOpen() ? m_parDb.GetOption(name) : nullptr;
    if (!option)
        return CString();
    const char* values[] = {option->szPar0, option->szPar1, option->szPar2, option->szPar3, option->szPar4};
    return i >= 0 && i < 5 ? CString(values[i]) : CString();
}

int CTvskManager::GetCamStepsNr()
{
    const CString steps = GetOptionValue("CAMMADEF", 0);
    return steps.IsEmpty() ? 257 : std::atoi(steps);
}
