// The application's profile: settings under HKEY_CURRENT_USER\Software\<registry key>\<app>\<section>.
#pragma once

#include "Registry.h"

#include <framework/CString.h>

#include <mutex>

class CProfile
{
public:
    // The one profile of the process.
    static CProfile& Instance();

    // Until a registry key is set, reads give their defaults and writes fail.
    void SetRegistryKey(LPCSTR registryKey);
    CString GetRegistryKey() const;
    // Defaults to the running program's file name without its extension.
    void SetAppName(LPCSTR appName);
    CString GetAppName() const;

    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr) const;
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) const;
    // *data is a new array the caller frees with delete[]; FALSE and null when the entry is missing.
    BOOL GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* bytes) const;

    // A null entry deletes the whole section; a null value deletes the entry.
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    BOOL WriteProfileBinary(LPCSTR section, LPCSTR entry, const BYTE* data, UINT bytes);

    // Opened (created when missing) keys the caller closes with RegCloseKey; null on failure.
    HKEY GetAppRegistryKey() const;
    HKEY GetSectionKey(LPCSTR section) const;

private:
    CProfile();
    // "Software\<registry key>\<app>", empty while no registry key is set.
    CString AppKeyPath() const;
    HKEY OpenSectionForReading(LPCSTR section) const;

    mutable std::mutex m_mutex;
    CString m_registryKey;
    CString m_appName;
};
