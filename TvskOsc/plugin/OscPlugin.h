// The oscilloscope's plug-in object.
#pragma once

#include <Modlode/PluginImpl.h>

class CPluginIntf;
class CWnd;

class COscPlugin : public CPluginImpl
{
public:
    const char* GetClassName() override { return "TvskOscClass"; }
    // 1 host, 2 parent, 3 run unless the host is in exclusive mode; every code answers 0.
    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override;

private:
    CPluginIntf* m_pHost = nullptr; // not owned
    CWnd* m_pParent = nullptr;      // not owned
};
