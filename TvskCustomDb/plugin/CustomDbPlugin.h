// The custom motor database's plug-in object: runs the dialog and tells the motor dialog whether
// the records were saved.
#pragma once

#include <Modlode/PluginImpl.h>

class CPluginIntf;
class CWnd;

class CCustomDbPlugin : public CPluginImpl
{
public:
    const char* GetClassName() override { return "TvskCustomDbClass"; }
    // 1 host, 2 parent, 3 run (answer 0); 8 writes the saved flag to the BOOL param1 points to.
    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override;

private:
    CPluginIntf* m_pHost = nullptr; // not owned
    CWnd* m_pParent = nullptr;      // not owned
    bool m_bSaved = false;
};
