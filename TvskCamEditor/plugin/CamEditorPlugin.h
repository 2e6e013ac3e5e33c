// The cam editor's plug-in object: keeps the host and parent, runs the dialog on the cam asked for.
#pragma once

#include <Tarveskon/HostedPlugin.h>

class CCamEditorPlugin : public CHostedPlugin
{
public:
    const char* GetClassName() override { return "TvskCamEditorClass"; }

    // The cam of a request: the integer of its argument text, -1 (the first cam) without one.
    static int CamOf(intptr_t record);

private:
    // Runs the dialog on the cam the request record's argument names.
    void Run(intptr_t argument, intptr_t request) override;
};
