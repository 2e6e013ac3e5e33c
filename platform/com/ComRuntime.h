// Creating objects by class id: the registry store names the component library, whose factory makes them.
#pragma once

#include "Bstr.h"

struct IClassFactory : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("00000001-0000-0000-C000-000000000046");
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};
inline constexpr IID IID_IClassFactory = IClassFactory::Iid;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER;

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// Each thread that creates objects initialises first. The first call on a thread gives S_OK, later
// ones S_FALSE; each needs its CoUninitialize. Objects are called directly from any thread.
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, DWORD mode);
void CoUninitialize();

// Only in-process servers exist: the context must include CLSCTX_INPROC_SERVER.
// Loaded component libraries stay loaded until the process ends.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* serverInfo, REFIID iid, void** object);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);

// A ProgID names its class under HKEY_CLASSES_ROOT\<ProgID>\CLSID; a version-independent ProgID
// may name its current version under CurVer instead. CO_E_CLASSSTRING when unknown.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
// *progId is new memory the caller frees with CoTaskMemFree.
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId);

// What every component library exports with C linkage.
using DllGetClassObjectFunction = HRESULT (*)(REFCLSID clsid, REFIID iid, void** object);
using DllRegisterServerFunction = HRESULT (*)();
