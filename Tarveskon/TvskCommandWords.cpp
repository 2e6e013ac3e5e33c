// The command words of the main page.
#include "TvskCommandWords.h"

#include "PluginCall.h"
#include "PluginIntf.h"

#include <ui/UiDefs.h>

#include <cstdint>
#include <cstring>

namespace
{

struct PostedWord
{
    const char* word;
    UINT message;
    WPARAM wParam;
};

struct HostWord
{
    const char* word;
    UINT code;
    bool withDialog;
};

constexpr PostedWord kPosted[] = {
    {"NewFile", WM_COMMAND, ID_FILE_NEW},
    {"OpenFile", WM_COMMAND, ID_FILE_OPEN},
    {"SaveFile", WM_COMMAND, ID_FILE_SAVE},
    {"SaveFileAs", WM_COMMAND, ID_FILE_SAVE_AS},
    {"CloseFile", WM_COMMAND, ID_FILE_CLOSE},
    {"PrintFile", WM_COMMAND, ID_FILE_PRINT_COMMAND},
    {"About", WM_SYSCOMMAND, 16},
    {"Ok", WM_COMMAND, IDOK},
    {"Cancel", WM_COMMAND, IDCANCEL},
};

constexpr HostWord kHost[] = {
    {"ReadAll", HOSTCMD_READALL, false},
    {"WriteAll", HOSTCMD_WRITEALL, false},
    {"CompareWithFile", HOSTCMD_COMPAREWITHFILE, true},
    {"CompareWithDrive", HOSTCMD_COMPAREWITHDRIVE, true},
    {"GoOnline", HOSTCMD_GOONLINE, true},
    {"DownlParams", HOSTCMD_DOWNLPARAMS, false},
    {"DownlPlc", HOSTCMD_DOWNLPLC, false},
    {"DownlCams", HOSTCMD_DOWNLCAMS, false},
    {"SaveParameters", HOSTCMD_SAVEPARAMETERS, false},
    {"SavePlc", HOSTCMD_SAVEPLC, false},
};

long PointerParam(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<std::intptr_t>(pointer));
}

} // namespace

CTvskCommandWords::CTvskCommandWords(CPluginIntf& host, CTvskCommandActions& actions, CWnd* dialog)
    : m_host(host), m_actions(actions), m_dialog(dialog)
{
}

void CTvskCommandWords::Run(const char* word)
{
    if (!word)
        return;
    for (const PostedWord& posted : kPosted)
        if (std::strcmp(word, posted.word) == 0)
            return m_actions.PostToDialog(posted.message, posted.wParam, 0);
    for (const HostWord& host : kHost)
        if (std::strcmp(word, host.word) == 0)
        {
            m_host.SendCommand(host.code, host.withDialog ? PointerParam(m_dialog) : 0, 0);
            return;
        }
    if (std::strcmp(word, "Connect") == 0)
    {
        if (m_host.IsConnected())
            m_host.SendCommand(HOSTCMD_CONNECT, 0, 0);
        else
            m_actions.ChooseConnection();
    }
    else if (std::strcmp(word, "ConfigConn") == 0)
    {
        m_actions.ConfigConnection();
    }
    else if (std::strcmp(word, "Upload") == 0)
    {
        m_actions.Upload();
    }
    else if (std::strcmp(word, "UploadDrive") == 0)
    {
        m_actions.UploadDrive();
    }
    else if (std::strcmp(word, "UploadMotor") == 0)
    {
        m_actions.UploadMotor();
    }
    else
    {
        m_host.SendCommand(HOSTCMD_DRIVECMD, PointerParam(word), 0);
    }
}
