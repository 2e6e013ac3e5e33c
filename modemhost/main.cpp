// Fonwick: serves one modem port to the client processes that attach to it ("FONWICK <n>").
#include "ModemServer.h"
#include "ModemServerDlg.h"

#include <PortServerMain.h>

#include <kernel/System.h>

#include <cstdlib>
#include <optional>

namespace
{

constexpr BYTE DefaultPort = 3;

CString InitFilePath()
{
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectory(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return CString();
    return CString(folder) + "/modem.ini";
}

class CFonwick : public CPortServerMain
{
public:
    CFonwick() : CPortServerMain("Fonwick", "MODEM.SERVER.MTX") {}

private:
    bool Open(const char* portArgument, BYTE& port) override
    {
        ModemSettings::SelectProfile();
        m_server.emplace(ModemSettings::Read());
        m_server->SetInitFile(InitFilePath());
        const int number = portArgument ? std::atoi(portArgument) : 0;
        port = static_cast<BYTE>(number == 0 ? DefaultPort : number);
        return m_server->Open(port);
    }
    void Work() override { ServerThreadProc(&*m_server); }
    void ShowWindow(BYTE port) override
    {
        CModemServerDlg window(port, *m_server);
        window.DoModal();
    }
    // The program ends after the worker has closed everything.
    bool Ended() const override { return m_server->Ended(); }
    // The settings the window changed are kept for the next start.
    int ExitCode() override { return m_server->Settings().Write() ? 0 : 3; }

    std::optional<CModemServer> m_server;
};

} // namespace

int main(int argc, char** argv)
{
    CFonwick program;
    return program.Run(argc, argv);
}
