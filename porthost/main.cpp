// Porthaven: serves one serial port to the client processes that attach to it ("PORTHAVEN <n>").
#include "PortServer.h"
#include "PortServerMain.h"
#include "ServerDlg.h"

namespace
{

class CPorthaven : public CPortServerMain
{
public:
    CPorthaven() : CPortServerMain("Porthaven", "COMM.SERVER.MTX") {}

private:
    bool Open(const char* portArgument, BYTE& port) override
    {
        port = PortNumberArgument(portArgument);
        return m_server.Open(port);
    }
    void Work() override { ServerThreadProc(&m_server); }
    void ShowWindow(BYTE port) override
    {
        CServerDlg window(port, m_server);
        window.DoModal();
    }
    // The program ends after the last detach.
    bool Ended() const override { return m_server.LastDetached(); }

    CPortServer m_server;
};

} // namespace

int main(int argc, char** argv)
{
    CPorthaven program;
    return program.Run(argc, argv);
}
