// The ZoScripter component library: its class and registration.
#include "ZoScriptMng.h"

namespace
{

const tvsk::com::ComClass Classes[] = {
    {CLSID_ZoScriptMng, "ZoScriptMng Class", "ZoScripter.ZoScriptMng.1", "ZoScripter.ZoScriptMng", true,
     "Apartment", &LIBID_ZOSCRIPTERLib, true, tvsk::com::CreateObject<CZoScriptMng>},
};
const tvsk::com::TypeLibrary Library{LIBID_ZOSCRIPTERLib, "1.0", "ZoScripter 1.0 Type Library"};

} // namespace

TVSK_COM_MODULE_EXPORTS(Classes, &Library)
