// The engine's component library: its class and registration.
#include "ScriptEngine.h"

#include <com/ComModule.h>

namespace
{

const tvsk::com::ComClass Classes[] = {
    {CLSID_VBScript, "VBScript Language", "VBScript", nullptr, false, "Both", nullptr, false,
     tvsk::com::CreateObject<tvsk::script::ScriptEngine>},
};

} // namespace

TVSK_COM_MODULE_EXPORTS(Classes, nullptr)
