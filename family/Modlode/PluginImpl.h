// CPluginImpl: the object a plug-in module makes; hosts drive it by numbered commands.
#pragma once

#include <cstdint>

class CPluginImpl
{
public:
    virtual ~CPluginImpl();
    // The module's file name without extension followed by "Class"; "" here.
    virtual const char* GetClassName();
    // 0 when the code was handled, 1 when the plug-in does not handle it; 0 here.
    virtual int SendCommand(unsigned code, intptr_t param1, intptr_t param2);
};

// What a plug-in module exports by name, with C linkage.
extern "C"
{
    using CreatePluginClassFunction = CPluginImpl* (*)();
    using GetPluginNameFunction = const char* (*)();
}
