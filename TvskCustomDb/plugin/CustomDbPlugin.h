// The custom motor database's plug-in object: runs the dialog and tells the motor dialog whether
// the records were saved.
#pragma once

#include <Tarveskon/HostedPlugin.h>

class CCustomDbPlugin : public CHostedPlugin
{
public:
    const char* GetClassName() override { return "TvskCustomDbClass"; }

private:
    void Run(intptr_t argument, intptr_t request) override;
    // 8 writes the saved flag to the int param1 points to.
    int OtherCommand(unsigned code, intptr_t param1, intptr_t param2) override;

    bool m_bSaved = false;
};
