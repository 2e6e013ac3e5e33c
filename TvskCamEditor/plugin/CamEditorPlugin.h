// The cam editor's plug-in object: keeps the host and parent, runs the dialog on the cam asked for.
#pragma once

#include <Modlode/PluginImpl.h>

class CPluginIntf;
class CWnd;

class CCamEditorPlugin : public CPluginImpl
{
public:
    const char* GetClassName() override { return "TvskCamEditorClass"; }
    // 1 host, 2 parent, 3 run (param2: the request record whose argument names the cam); 0 for
    // those, 1 for any other code.
    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override;

    // The cam of a request: the integer of its argument text, -1 (the first cam) without one.
    static int CamOf(intptr_t record);

private:
    CPluginIntf* m_pHost = nullptr; // not owned
    CWnd* m_pParent = nullptr;      // not owned
};
