// The wizard manager: the help request and its display in the help window.
#include "TvskManager.h"

#include <ui/UiDefs.h>

#include <filesystem>
#include <thread>

namespace
{

constexpr long kHelpUninitialize = 150;
constexpr long kHelpTopic = 0;
constexpr long kHelpIndex = 2;
constexpr long kHelpSearch = 3;
constexpr long kHelpContext = 15;
constexpr UINT kHelpFileError = 2117;

} // namespace

BOOL CTvskManager::ChmSetContext(long context, long command, const char* file, const char* topic)
{
    m_nHelpContext = context;
    m_nHelpCommand = command;
    m_strHelpFile = file ? file : "";
    m_strHelpTopic = topic ? topic : "";
    if (command == kHelpUninitialize)
    {
        if (m_pHelpWnd)
            m_pHelpWnd->setInitialized(FALSE);
        return TRUE;
    }
    if (m_strHelpFile == "DEFAULT")
        m_strHelpFile = DefaultHelpFile();
    if (!m_pHelpWnd)
        m_pHelpWnd = m_pUi->CreateHelpWindow();
    if (!m_pHelpWnd)
        return TRUE;
    if (m_pHelpWnd->isInitialized())
        m_pHelpWnd->SetHelpFile(m_strHelpFile);
    else
        m_pHelpWnd->Initialize(nullptr, m_strHelpFile);
    return TRUE;
}

BOOL CTvskManager::ChmInvoke()
{
    // The help window is a window: a plug-in worker's host command 50 does not reach it.
    if (std::this_thread::get_id() != m_ownerThread || !m_pHelpWnd || !m_pHelpWnd->isInitialized())
        return FALSE;
    BOOL shown = FALSE;
    switch (m_nHelpCommand)
    {
    case kHelpTopic:
        shown = m_pHelpWnd->Topic(m_strHelpTopic);
        break;
    case kHelpIndex:
        shown = m_pHelpWnd->Index(m_strHelpTopic);
        break;
    case kHelpSearch:
        shown = m_pHelpWnd->Search(m_strHelpTopic);
        break;
    case kHelpContext:
        shown = m_pHelpWnd->Context(m_nHelpContext);
        break;
    default:
        return FALSE;
    }
    if (!shown)
        MessageBox(LocalText(kHelpFileError) + "\n" + m_strHelpFile, MB_OK | MB_ICONERROR);
    return shown;
}

CString CTvskManager::DefaultHelpFile() const
{
    const CString own = m_programDir + "/Tarveskon_" + GetLanguageName() + ".chm";
    std::error_code error;
    return std::filesystem::is_regular_file(own.GetString(), error) ? own : m_programDir + "/Tarveskon.chm";
}

BOOL CTvskManager::ShowHelpContext(long context)
{
    const long savedContext = m_nHelpContext;
    const long savedCommand = m_nHelpCommand;
    const CString savedFile = m_strHelpFile;
    const CString savedTopic = m_strHelpTopic;
    const bool requested = m_pHelpWnd && m_pHelpWnd->isInitialized();
    ChmSetContext(context, kHelpContext, "DEFAULT", "");
    const BOOL shown = ChmInvoke();
    m_nHelpContext = savedContext;
    m_nHelpCommand = savedCommand;
    m_strHelpFile = savedFile;
    m_strHelpTopic = savedTopic;
    if (m_pHelpWnd && !requested)
        m_pHelpWnd->setInitialized(FALSE);
    else if (m_pHelpWnd)
        m_pHelpWnd->SetHelpFile(m_strHelpFile);
    return shown;
}
