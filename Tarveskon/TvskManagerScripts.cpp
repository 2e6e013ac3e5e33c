// The wizard manager: the drive type's script, its events and the drive's permanent memory.
#include "TvskManager.h"

#include "TvskIntf.h"

#include <framework/File.h>
#include <ui/UiDefs.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

BOOL CTvskManager::StartScript(const char* path)
{
    StopScript();
    m_strScriptError.Empty();
    if (!m_pIntf)
        return FALSE;
    m_pIntf->SetVerbose(std::atoi(GetOptionValue("SCRIPTDEBUG", 0)) != 0);

    m_pScript = std::make_unique<CScriptManager>();
    if (const HRESULT hr = m_pScript->Init(this); hr != S_OK)
    {
        m_pScript.reset();
        m_strScriptError.Format("ZoScripter.ZoScriptMng.1: 0x%08X", static_cast<unsigned>(hr));
        return FALSE;
    }
    m_pScript->AddScripter("Tvsk", static_cast<ITvskIntf*>(m_pIntf));

    if (path && !FitsForReading(path))
    {
        m_strScriptError.Format("%s: no script file or larger than %llu bytes", path,
                                static_cast<unsigned long long>(kMaxInputFileSize));
        return FALSE;
    }
    std::ifstream file(path ? path : "");
    if (!file)
    {
        m_strScriptError = path ? path : "";
        return FALSE;
    }
    std::string code;
    for (std::string line; std::getline(file, line);)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        code += line;
        code += '\n';
    }
    m_bScriptStarting = true;
    const BOOL running = m_pScript->Run(code.c_str());
    m_bScriptStarting = false;
    return running;
}

void CTvskManager::StopScript()
{
    if (!m_pScript)
        return;
    if (m_pScript->IsRunning())
        m_pScript->Stop();
    m_pScript.reset();
}

bool CTvskManager::StartDriveTypeScript()
{
    // A type without a script leaves none of the previous type's running.
    StopScript();
    const CString path = GetScriptFilePath();
    std::error_code error;
    if (path.IsEmpty() || !std::filesystem::is_regular_file(path.GetString(), error))
        return true;
    return StartScript(path) != FALSE;
}

void CTvskManager::OnScriptError(CString text)
{
    if (m_bScriptStarting)
        m_strScriptError = m_strScriptError.IsEmpty() ? text : m_strScriptError + "\n" + text;
    MessageBox(text, MB_OK | MB_ICONERROR);
}

bool CTvskManager::CanFireEvents() const
{
    return m_pEvents->MayFire() && m_pIntf && std::this_thread::get_id() == m_ownerThread;
}

void CTvskManager::FireTimer()
{
    if (CanFireEvents())
        m_pEvents->OnTimer();
}

BOOL CTvskManager::SaveParameters()
{
    if (!StartWithDrive())
        return FALSE;
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeSaveParams, &CTvskScriptEvents::AfterSaveParams))
        return TRUE;
    const BOOL saved = RunDriveCommand("Save");
    if (!saved)
        m_nErrorCode = 5;
    if (events)
        m_pEvents->AfterSaveParams();
    return saved;
}

BOOL CTvskManager::SavePlc()
{
    if (!StartWithDrive())
        return FALSE;
    if (!IsPlcEnabled())
    {
        m_nErrorCode = 12;
        return FALSE;
    }
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeSavePlc, &CTvskScriptEvents::AfterSavePlc))
        return TRUE;
    const BOOL saved = RunDriveCommand("SavePLC");
    if (!saved)
        m_nErrorCode = 5;
    if (events)
        m_pEvents->AfterSavePlc();
    return saved;
}
