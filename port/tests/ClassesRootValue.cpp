// Reads the registry store apart from the kernel headers, which name the same error codes.
#include <registry/Registry.h>

#include <string>

namespace porttest
{

std::string ClassesRootValue(const char* key, const char* value)
{
    HKEY opened = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return "<none>";
    char text[128] = {};
    DWORD size = sizeof text;
    const LONG read = RegQueryValueEx(opened, value, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
    RegCloseKey(opened);
    return read == ERROR_SUCCESS ? text : "<none>";
}

} // namespace porttest
