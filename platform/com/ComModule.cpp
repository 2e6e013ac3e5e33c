// What a component library needs for its exports: class factories and self-registration.
#include "ComModule.h"

#include "Guid.h"

#include <registry/Registry.h>

#include <atomic>
#include <cstring>
#include <dlfcn.h>

namespace tvsk::com
{

namespace
{

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

class CClassFactory : public ComObject<IClassFactory>
{
public:
    explicit CClassFactory(CreateFunction create) : m_create(create) {}

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : m_create(iid, object);
    }
    HRESULT LockServer(BOOL lock) override
    {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }

private:
    CreateFunction m_create;
};

std::string Expand(const char* value, const std::string& modulePath)
{
    std::string text = value;
    const std::string token = "%MODULE%";
    for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + modulePath.size()))
        text.replace(at, token.size(), modulePath);
    return text;
}

// Creates the key path below root and sets one string value (valueName null: the default value).
bool WriteString(const std::string& path, const char* valueName, const char* value)
{
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                       nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    if (value)
        ok = RegSetValueEx(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                           static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool DeleteTreeIfPresent(const std::string& path)
{
    const LONG rc = RegDeleteTree(HKEY_CLASSES_ROOT, path.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool RegisterClass(const ComClass& c, const std::string& modulePath)
{
    const std::string clsid = GuidToString(c.clsid);
    const std::string classKey = "CLSID\\" + clsid;
    bool ok = WriteString(c.progId, nullptr, c.description) &&
              WriteString(std::string(c.progId) + "\\CLSID", nullptr, clsid.c_str());
    if (c.versionIndependentProgId)
    {
        const std::string vi = c.versionIndependentProgId;
        ok = ok && WriteString(vi, nullptr, c.description) &&
             WriteString(vi + "\\CLSID", nullptr, clsid.c_str());
        if (c.writeCurVer)
            ok = ok && WriteString(vi + "\\CurVer", nullptr, c.progId);
    }
    ok = ok && WriteString(classKey, nullptr, c.description) &&
         WriteString(classKey + "\\ProgID", nullptr, c.progId) &&
         WriteString(classKey + "\\InprocServer32", nullptr, modulePath.c_str());
    if (c.versionIndependentProgId)
        ok = ok && WriteString(classKey + "\\VersionIndependentProgID", nullptr, c.versionIndependentProgId);
    if (c.threadingModel)
        ok = ok && WriteString(classKey + "\\InprocServer32", "ThreadingModel", c.threadingModel);
    if (c.programmable)
        ok = ok && WriteString(classKey + "\\Programmable", nullptr, nullptr);
    if (c.typeLibrary)
        ok = ok && WriteString(classKey + "\\TypeLib", nullptr, GuidToString(*c.typeLibrary).c_str());
    for (const ClassRegistryEntry& e : c.extraEntries)
    {
        const std::string path = e.subKey && *e.subKey ? classKey + "\\" + e.subKey : classKey;
        ok = ok && WriteString(path, e.valueName, e.value ? Expand(e.value, modulePath).c_str() : nullptr);
    }
    return ok;
}

} // namespace

void ModuleObjectCreated() noexcept
{
    ++g_objects;
}

void ModuleObjectDestroyed() noexcept
{
    --g_objects;
}

long ModuleObjectCount() noexcept
{
    return g_objects;
}

HRESULT GetClassObject(std::span<const ComClass> classes, REFCLSID clsid, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (const ComClass& c : classes)
        if (c.clsid == clsid)
        {
            auto* factory = new (std::nothrow) CClassFactory(c.create);
            if (!factory)
                return E_OUTOFMEMORY;
            factory->AddRef();
            const HRESULT hr = factory->QueryInterface(iid, object);
            factory->Release();
            return hr;
        }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow()
{
    return (g_objects == 0 && g_locks == 0) ? S_OK : S_FALSE;
}

HRESULT RegisterServer(std::span<const ComClass> classes, const TypeLibrary* library,
                       const void* addressInModule)
{
    const std::string modulePath = ModulePathOf(addressInModule);
    if (modulePath.empty())
        return SELFREG_E_CLASS;
    for (const ComClass& c : classes)
        if (!RegisterClass(c, modulePath))
            return SELFREG_E_CLASS;
    if (library)
    {
        const std::string key = "TypeLib\\" + GuidToString(library->libid) + "\\" + library->version;
        if (!WriteString(key, nullptr, library->description) ||
            !WriteString(key + "\\0", nullptr, modulePath.c_str()))
            return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

HRESULT UnregisterServer(std::span<const ComClass> classes, const TypeLibrary* library)
{
    bool ok = true;
    for (const ComClass& c : classes)
    {
        ok = DeleteTreeIfPresent("CLSID\\" + GuidToString(c.clsid)) && ok;
        ok = DeleteTreeIfPresent(c.progId) && ok;
        if (c.versionIndependentProgId)
            ok = DeleteTreeIfPresent(c.versionIndependentProgId) && ok;
    }
    if (library)
        ok = DeleteTreeIfPresent("TypeLib\\" + GuidToString(library->libid)) && ok;
    return ok ? S_OK : SELFREG_E_CLASS;
}

std::string ModulePathOf(const void* address)
{
    Dl_info info{};
    if (!::dladdr(address, &info) || !info.dli_fname)
        return {};
    char resolved[4096];
    return ::realpath(info.dli_fname, resolved) ? std::string(resolved) : std::string(info.dli_fname);
}

} // namespace tvsk::com
