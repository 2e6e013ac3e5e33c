// What a component library needs for its exports: class factories and self-registration.
#pragma once

#include "ComObject.h"
#include "ComRuntime.h"

#include <new>
#include <span>
#include <string>

namespace tvsk::com
{

using CreateFunction = HRESULT (*)(REFIID iid, void** object);

// A value written below the class key HKEY_CLASSES_ROOT\CLSID\{clsid}; "%MODULE%" in value stands
// for the library's path. A null value creates the key only.
struct ClassRegistryEntry
{
    const char* subKey;
    const char* valueName; // null: the key's default value
    const char* value;
};

// One creatable class of a component and how it registers.
struct ComClass
{
    CLSID clsid;
    const char* description;
    const char* progId;
    const char* versionIndependentProgId; // null: none
    bool writeCurVer;                     // CurVer under the version-independent ProgID
    const char* threadingModel;           // null: none
    const GUID* typeLibrary;              // null: none
    bool programmable;
    CreateFunction create;
    std::span<const ClassRegistryEntry> extraEntries = {};
};

// Registered as HKEY_CLASSES_ROOT\TypeLib\{libid}\<version> = description, with subkey "0" = library path.
struct TypeLibrary
{
    GUID libid;
    const char* version;
    const char* description;
};

template <class T> HRESULT CreateObject(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    T* created = new (std::nothrow) T;
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    const HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}

// The bodies of a component's DllGetClassObject, DllCanUnloadNow, DllRegisterServer and
// DllUnregisterServer. Registration writes the store that TARVESKON_REGISTRY (or the default) names.
HRESULT GetClassObject(std::span<const ComClass> classes, REFCLSID clsid, REFIID iid, void** object);
HRESULT CanUnloadNow();
HRESULT RegisterServer(std::span<const ComClass> classes, const TypeLibrary* library,
                       const void* addressInModule);
HRESULT UnregisterServer(std::span<const ComClass> classes, const TypeLibrary* library);

// The file of the shared library or program that holds address.
std::string ModulePathOf(const void* address);

} // namespace tvsk::com

// Defines a component's four exports over its class table and type library (a pointer, or nullptr).
#define TVSK_COM_MODULE_EXPORTS(classes, library)                                                            \
    extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)                          \
    {                                                                                                        \
        return ::tvsk::com::GetClassObject(classes, clsid, iid, object);                                     \
    }                                                                                                        \
    extern "C" HRESULT DllCanUnloadNow()                                                                     \
    {                                                                                                        \
        return ::tvsk::com::CanUnloadNow();                                                                  \
    }                                                                                                        \
    extern "C" HRESULT DllRegisterServer()                                                                   \
    {                                                                                                        \
        return ::tvsk::com::RegisterServer(classes, library,                                                 \
                                           reinterpret_cast<const void*>(&DllRegisterServer));               \
    }                                                                                                        \
    extern "C" HRESULT DllUnregisterServer()                                                                 \
    {                                                                                                        \
        return ::tvsk::com::UnregisterServer(classes, library);                                              \
    }
