// The PLC editor's plug-in object: takes the host and the parent, and runs the main PLC dialog.
#pragma once

#include <Modlode/PluginImpl.h>
#include <framework/Object.h>

#include <memory>

class CPluginIntf;
class CWnd;

class CPlcEditorPlugin : public CPluginImpl
{
public:
    const char* GetClassName() override { return "TvskLumoPlcClass"; }
    // 1 host, 2 parent, 3 run; always 0.
    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override;

private:
    CPluginIntf* m_pPluginIntf = nullptr; // not owned
    std::unique_ptr<CObject> m_pOwned;    // released with the plug-in object
    CWnd* m_pParent = nullptr;            // not owned
};
