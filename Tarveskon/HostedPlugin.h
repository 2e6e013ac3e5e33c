// A plug-in object that keeps the host (command 1) and its parent window (command 2) and runs on
// command 3 once it has a host; any other code goes to OtherCommand.
#pragma once

#include <Tarveskon/PluginCall.h>

#include <Modlode/PluginImpl.h>
#include <ZoSupport/ProgramError.h>

class CPluginIntf;
class CWnd;

class CHostedPlugin : public CPluginImpl
{
public:
    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override
    {
        switch (code)
        {
        case PLUGINCMD_SETINTF:
            m_pHost = reinterpret_cast<CPluginIntf*>(param1);
            return 0;
        case PLUGINCMD_SETPARENT:
            m_pParent = reinterpret_cast<CWnd*>(param1);
            return 0;
        case PLUGINCMD_RUN:
            if (m_pHost)
                Run(param1, param2);
            else
                ProgramError(GetClassName(), __LINE__, "run without a host");
            return 0;
        default:
            return OtherCommand(code, param1, param2);
        }
    }

protected:
    // argument: the argument text or 0; request: the PLUGIN_CALL record or 0.
    virtual void Run(intptr_t argument, intptr_t request) = 0;
    // 0 when handled, 1 when not.
    virtual int OtherCommand(unsigned /*code*/, intptr_t /*param1*/, intptr_t /*param2*/) { return 1; }

    CPluginIntf* m_pHost = nullptr; // not owned
    CWnd* m_pParent = nullptr;      // not owned
};
