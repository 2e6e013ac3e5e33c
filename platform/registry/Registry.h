// Registry calls of the platform over our own per-user store file.
#pragma once

#include <framework/WinError.h>
#include <framework/WinTypes.h>

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LPDWORD = DWORD*;

// The predefined roots; they need no open and ignore RegCloseKey.
inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u));
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u));
inline const HKEY HKEY_USERS = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000003u));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Key and value names compare case-insensitively; subKey paths use "\\" between key names.
// The pointer parameters the platform reserves (security attributes, class, last write time)
// must be null or are left untouched.
LONG RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                    void* securityAttributes, PHKEY result, LPDWORD disposition);
LONG RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCloseKey(HKEY key);

// REG_SZ data is returned with its terminating zero, and *dataSize counts it.
LONG RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize);
// REG_SZ stores the text up to the first zero within dataSize; REG_DWORD needs 4 bytes.
LONG RegSetValueEx(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LONG RegDeleteValue(HKEY key, LPCSTR valueName);
// Refuses (ERROR_ACCESS_DENIED) a key that still has subkeys, as the platform does.
LONG RegDeleteKey(HKEY key, LPCSTR subKey);
// Deletes subKey with everything below it in one write; a null or empty subKey empties key itself.
LONG RegDeleteTree(HKEY key, LPCSTR subKey);

// Subkeys enumerate in case-insensitive name order, values in the order they were first set.
LONG RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPSTR keyClass,
                  LPDWORD classLength, void* lastWriteTime);
LONG RegEnumValue(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
                  LPDWORD type, LPBYTE data, LPDWORD dataSize);
