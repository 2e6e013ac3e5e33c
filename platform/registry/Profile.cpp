// The application's profile: settings under HKEY_CURRENT_USER\Software\<registry key>\<app>\<section>.
#include "Profile.h"

#include <cstring>
#include <filesystem>
#include <vector>

namespace
{

CString ProgramName()
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? CString() : CString(exe.stem().string());
}

// Closes a key when the scope ends.
class ScopedKey
{
public:
    explicit ScopedKey(HKEY key) : m_key(key) {}
    ~ScopedKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key;
};

} // namespace

CProfile& CProfile::Instance()
{
    static CProfile profile;
    return profile;
}

CProfile::CProfile() : m_appName(ProgramName()) {}

void CProfile::SetRegistryKey(LPCSTR registryKey)
{
    std::lock_guard lock(m_mutex);
    m_registryKey = registryKey;
}

CString CProfile::GetRegistryKey() const
{
    std::lock_guard lock(m_mutex);
    return m_registryKey;
}

void CProfile::SetAppName(LPCSTR appName)
{
    std::lock_guard lock(m_mutex);
    m_appName = appName;
}

CString CProfile::GetAppName() const
{
    std::lock_guard lock(m_mutex);
    return m_appName;
}

CString CProfile::AppKeyPath() const
{
    std::lock_guard lock(m_mutex);
    if (m_registryKey.IsEmpty() || m_appName.IsEmpty())
        return CString();
    return "Software\\" + m_registryKey + "\\" + m_appName;
}

HKEY CProfile::GetAppRegistryKey() const
{
    const CString path = AppKeyPath();
    HKEY key = nullptr;
    if (path.IsEmpty() || RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CProfile::GetSectionKey(LPCSTR section) const
{
    if (!section)
        return nullptr;
    ScopedKey app(GetAppRegistryKey());
    HKEY key = nullptr;
    if (!app.Get() || RegCreateKeyEx(app.Get(), section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CProfile::OpenSectionForReading(LPCSTR section) const
{
    const CString path = AppKeyPath();
    HKEY key = nullptr;
    if (path.IsEmpty() || !section ||
        RegOpenKeyEx(HKEY_CURRENT_USER, path + "\\" + section, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

CString CProfile::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) const
{
    ScopedKey key(OpenSectionForReading(section));
    DWORD type = 0, size = 0;
    if (!key.Get() || RegQueryValueEx(key.Get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return CString(defaultValue);
    std::vector<BYTE> text(size);
    if (RegQueryValueEx(key.Get(), entry, nullptr, &type, text.data(), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return CString(defaultValue);
    return CString(reinterpret_cast<const char*>(text.data()));
}

UINT CProfile::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) const
{
    ScopedKey key(OpenSectionForReading(section));
    DWORD type = 0, value = 0, size = sizeof value;
    if (!key.Get() ||
        RegQueryValueEx(key.Get(), entry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return static_cast<UINT>(defaultValue);
    return value;
}

BOOL CProfile::GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* bytes) const
{
    if (!data || !bytes)
        return FALSE;
    *data = nullptr;
    *bytes = 0;
    ScopedKey key(OpenSectionForReading(section));
    DWORD type = 0, size = 0;
    if (!key.Get() || RegQueryValueEx(key.Get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_BINARY)
        return FALSE;
    auto* buffer = new BYTE[size ? size : 1];
    if (RegQueryValueEx(key.Get(), entry, nullptr, &type, buffer, &size) != ERROR_SUCCESS ||
        type != REG_BINARY)
    {
        delete[] buffer;
        return FALSE;
    }
    *data = buffer;
    *bytes = size;
    return TRUE;
}

BOOL CProfile::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (!section)
        return FALSE;
    if (!entry)
    {
        ScopedKey app(GetAppRegistryKey());
        if (!app.Get())
            return FALSE;
        const LONG rc = RegDeleteTree(app.Get(), section);
        return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    }
    ScopedKey key(GetSectionKey(section));
    if (!key.Get())
        return FALSE;
    if (!value)
    {
        const LONG rc = RegDeleteValue(key.Get(), entry);
        return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    }
    return RegSetValueEx(key.Get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
}

BOOL CProfile::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    ScopedKey key(GetSectionKey(section));
    const DWORD dword = static_cast<DWORD>(value);
    return key.Get() && entry &&
           RegSetValueEx(key.Get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword),
                         sizeof dword) == ERROR_SUCCESS;
}

BOOL CProfile::WriteProfileBinary(LPCSTR section, LPCSTR entry, const BYTE* data, UINT bytes)
{
    ScopedKey key(GetSectionKey(section));
    return key.Get() && entry && RegSetValueEx(key.Get(), entry, 0, REG_BINARY, data, bytes) == ERROR_SUCCESS;
}
