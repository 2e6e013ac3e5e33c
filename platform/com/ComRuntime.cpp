// Creating objects by class id: the registry store names the component library, whose factory makes them.
#include "ComRuntime.h"

#include "ErrorInfo.h"
#include "Guid.h"

#include <kernel/SharedLibrary.h>
#include <registry/Registry.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace
{

thread_local int t_initialised = 0;

std::optional<std::string> ReadDefaultString(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::string> result;
    if (RegQueryValueEx(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ)
    {
        std::string text(size, '\0');
        if (RegQueryValueEx(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(text.data()), &size) ==
            ERROR_SUCCESS)
        {
            text.resize(size ? size - 1 : 0);
            result = text;
        }
    }
    RegCloseKey(key);
    return result;
}

// Component libraries by path, loaded once and kept until the process ends: objects they made may
// outlive every static of the program.
class LoadedLibraries
{
public:
    HRESULT Factory(const std::string& path, DllGetClassObjectFunction& entry)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_entries.find(path);
        if (it == m_entries.end())
        {
            CSharedLibrary library;
            if (!library.Open(path.c_str()))
                return tvsk::com::ReportError(CO_E_DLLNOTFOUND, IID_IClassFactory, "CoCreateInstance",
                                              library.Error());
            auto found = reinterpret_cast<DllGetClassObjectFunction>(library.Symbol("DllGetClassObject"));
            if (!found)
                return tvsk::com::ReportError(CO_E_ERRORINDLL, IID_IClassFactory, "CoCreateInstance",
                                              path + " has no DllGetClassObject");
            it = m_entries.emplace(path, Loaded{std::move(library), found}).first;
        }
        entry = it->second.entry;
        return S_OK;
    }

private:
    struct Loaded
    {
        CSharedLibrary library;
        DllGetClassObjectFunction entry;
    };
    std::mutex m_mutex;
    std::map<std::string, Loaded> m_entries;
};

LoadedLibraries& Libraries()
{
    static auto* libraries = new LoadedLibraries;
    return *libraries;
}

} // namespace

HRESULT CoInitialize(void* reserved)
{
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(void*, DWORD)
{
    return t_initialised++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (t_initialised > 0)
        --t_initialised;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (t_initialised == 0)
        return CO_E_NOTINITIALIZED;
    if (!(context & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    const auto path =
        ReadDefaultString(HKEY_CLASSES_ROOT, "CLSID\\" + tvsk::com::GuidToString(clsid) + "\\InprocServer32");
    if (!path || path->empty())
        return REGDB_E_CLASSNOTREG;
    DllGetClassObjectFunction entry = nullptr;
    const HRESULT hr = Libraries().Factory(*path, entry);
    return FAILED(hr) ? hr : entry(clsid, iid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr =
        CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    hr = factory->CreateInstance(outer, iid, object);
    factory->Release();
    return hr;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid)
{
    if (!progId || !clsid)
        return E_INVALIDARG;
    const std::string name = tvsk::com::Utf8FromOleString(progId);
    if (name.empty())
        return CO_E_CLASSSTRING;
    std::optional<std::string> text;
    if (const auto current = ReadDefaultString(HKEY_CLASSES_ROOT, name + "\\CurVer");
        current && !current->empty())
        text = ReadDefaultString(HKEY_CLASSES_ROOT, *current + "\\CLSID");
    if (!text)
        text = ReadDefaultString(HKEY_CLASSES_ROOT, name + "\\CLSID");
    const auto guid = text ? tvsk::com::GuidFromString(*text) : std::nullopt;
    if (!guid)
        return CO_E_CLASSSTRING;
    *clsid = *guid;
    return S_OK;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId)
{
    if (!progId)
        return E_INVALIDARG;
    *progId = nullptr;
    const auto name =
        ReadDefaultString(HKEY_CLASSES_ROOT, "CLSID\\" + tvsk::com::GuidToString(clsid) + "\\ProgID");
    if (!name)
        return REGDB_E_CLASSNOTREG;
    const std::u16string wide = tvsk::com::Utf16FromUtf8(*name);
    *progId = static_cast<LPOLESTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(OLECHAR)));
    if (!*progId)
        return E_OUTOFMEMORY;
    std::copy(wide.begin(), wide.end(), *progId);
    (*progId)[wide.size()] = 0;
    return S_OK;
}
