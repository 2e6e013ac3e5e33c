// The component's entry points: class factory, unloading, self-registration, the warning hook.
#include "ProtocolList.h"
#include "VrnSer.h"

using namespace tvsk::com;

namespace
{
const ComClass kClasses[] = {{CLSID_VrnSer, "VrnSer Class", kVrnSerProgId, "VrnSer.VrnSer", true, "Apartment",
                              &LIBID_VRNSERLib, true, &CreateObject<CVrnSer>}};
const TypeLibrary kLibrary{LIBID_VRNSERLib, "1.0", "VrnSer 1.0 Type Library"};
} // namespace

extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    return GetClassObject(kClasses, clsid, iid, object);
}

extern "C" HRESULT DllCanUnloadNow()
{
    return CanUnloadNow();
}

extern "C" HRESULT DllRegisterServer()
{
    if (FAILED(RegisterProtocolEntry()))
        return E_FAIL;
    return RegisterServer(kClasses, &kLibrary, reinterpret_cast<const void*>(&DllRegisterServer));
}

extern "C" HRESULT DllUnregisterServer()
{
    UnregisterProtocolEntry();
    return UnregisterServer(kClasses, &kLibrary);
}

// The window layer's hook: its sink shows the warning boxes of every object of this component.
extern "C" CWarningSink* VrnSerSetWarningSink(CWarningSink* sink)
{
    return SetVrnSerWarningSink(sink);
}

// The window layer's hook: the configuration dialog that Config shows.
extern "C" CConfigDialog* VrnSerSetConfigDialog(CConfigDialog* dialog)
{
    return SetVrnSerConfigDialog(dialog);
}
