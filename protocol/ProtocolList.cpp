#include "ProtocolList.h"

#include "DeviceLink.h"

#include <registry/Registry.h>

#include <array>
#include <cstring>
#include <string>

namespace
{
constexpr const char* kProtocolListKey = "Software\\MurnApps\\Tetherdesk1";
constexpr int kProtocolNumber = 9;

struct ProtocolValue
{
    const char* nameFormat;
    const char* value;
};
constexpr std::array<ProtocolValue, 3> kValues{
    {{"ProtDesc", "Quen protocol"}, {"ProtName", "VrnSer"}, {"ProtIntf", kVrnSerProgId}}};

std::string ValueName(const ProtocolValue& v)
{
    return v.nameFormat + std::to_string(kProtocolNumber);
}
} // namespace

HRESULT RegisterProtocolEntry()
{
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, kProtocolListKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    bool ok = true;
    for (const ProtocolValue& v : kValues)
        ok = ok && RegSetValueEx(key, ValueName(v).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.value),
                                 static_cast<DWORD>(std::strlen(v.value) + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok ? S_OK : E_FAIL;
}

void UnregisterProtocolEntry()
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kProtocolListKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    for (const ProtocolValue& v : kValues)
        RegDeleteValue(key, ValueName(v).c_str());
    RegCloseKey(key);
}
