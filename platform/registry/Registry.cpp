// Registry calls of the platform over our own per-user store file.
#include "Registry.h"

#include "RegistryStore.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

using tvsk::registry::RegistryStore;
using tvsk::registry::RegKey;
using tvsk::registry::RegValue;

struct HKEY__
{
    std::vector<std::string> path; // root name first
    REGSAM access = 0;
};

namespace
{

constexpr size_t kMaxKeyNameLength = 255;

// Every handle handed out and not yet closed, so a stale or foreign handle is refused.
class OpenHandles
{
public:
    HKEY Add(std::vector<std::string> path, REGSAM access)
    {
        auto* key = new HKEY__{std::move(path), access};
        std::lock_guard lock(m_mutex);
        m_handles.insert(key);
        return key;
    }
    std::optional<HKEY__> Lookup(HKEY key)
    {
        std::lock_guard lock(m_mutex);
        if (!m_handles.count(key))
            return std::nullopt;
        return *key;
    }
    bool Remove(HKEY key)
    {
        std::lock_guard lock(m_mutex);
        if (!m_handles.erase(key))
            return false;
        delete key;
        return true;
    }

private:
    std::mutex m_mutex;
    std::unordered_set<HKEY> m_handles;
};

OpenHandles& Handles()
{
    static OpenHandles handles;
    return handles;
}

const char* PredefinedRootName(HKEY key)
{
    if (key == HKEY_CLASSES_ROOT)
        return "HKEY_CLASSES_ROOT";
    if (key == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (key == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    if (key == HKEY_USERS)
        return "HKEY_USERS";
    return nullptr;
}

std::optional<HKEY__> Resolve(HKEY key)
{
    if (const char* root = PredefinedRootName(key))
        return HKEY__{{root}, KEY_ALL_ACCESS};
    return Handles().Lookup(key);
}

// The store part that holds the key's root.
RegistryStore& StoreOf(const HKEY__& key)
{
    return RegistryStore::For(key.path.front());
}

bool Allows(const HKEY__& key, REGSAM right)
{
    return (key.access & right) == right;
}

// Runs body on the open key's node under the store's read lock, after the handle and right checks.
template <class Body> LONG ReadOpenKey(HKEY key, REGSAM right, Body&& body)
{
    const auto k = Resolve(key);
    if (!k)
        return ERROR_INVALID_HANDLE;
    if (!Allows(*k, right))
        return ERROR_ACCESS_DENIED;
    RegistryStore& store = StoreOf(*k);
    return store.Read(
        [&](const RegKey& top) -> LONG
        {
            const RegKey* node = top.Find(k->path);
            return node ? body(*node) : ERROR_KEY_DELETED;
        });
}

// Appends the key names of subKey to path; empty pieces between backslashes are skipped.
bool AppendSubKey(std::vector<std::string>& path, LPCSTR subKey)
{
    if (!subKey)
        return true;
    std::string_view rest(subKey);
    while (!rest.empty())
    {
        size_t end = rest.find('\\');
        std::string_view piece = rest.substr(0, end);
        if (piece.size() > kMaxKeyNameLength)
            return false;
        if (!piece.empty())
            path.emplace_back(piece);
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return true;
}

// Hands out a value's bytes the platform's way: the size alone, or the bytes when they fit.
LONG CopyValueData(const RegValue& value, LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    std::vector<BYTE> bytes = value.data;
    if (value.type == REG_SZ)
        bytes.push_back(0);
    if (type)
        *type = value.type;
    if (data && !dataSize)
        return ERROR_INVALID_PARAMETER;
    if (!dataSize)
        return ERROR_SUCCESS;
    const DWORD needed = static_cast<DWORD>(bytes.size());
    if (data && *dataSize < needed)
    {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    if (data && !bytes.empty())
        std::memcpy(data, bytes.data(), bytes.size());
    *dataSize = needed;
    return ERROR_SUCCESS;
}

// Copies a name into a caller's buffer whose length counts characters with the terminator.
LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD length)
{
    if (!buffer || !length)
        return ERROR_INVALID_PARAMETER;
    if (name.size() >= *length)
        return ERROR_MORE_DATA;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

} // namespace

LONG RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access, void*, PHKEY result,
                    LPDWORD disposition)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    auto parent = Resolve(key);
    if (!parent)
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> path = parent->path;
    if (!AppendSubKey(path, subKey))
        return ERROR_INVALID_PARAMETER;
    const bool addsKeys = path.size() > parent->path.size();
    if (addsKeys && !Allows(*parent, KEY_CREATE_SUB_KEY))
        return ERROR_ACCESS_DENIED;
    bool createdAny = false;
    RegistryStore& store = StoreOf(*parent);
    LONG rc = store.Write(
        [&](RegKey& top, bool& changed)
        {
            RegKey* k = top.Find(parent->path);
            if (!k)
                return ERROR_KEY_DELETED;
            for (size_t i = parent->path.size(); i < path.size(); ++i)
            {
                bool created = false;
                k = &k->ObtainChild(path[i], &created);
                createdAny = createdAny || created;
            }
            changed = createdAny;
            return ERROR_SUCCESS;
        });
    if (rc != ERROR_SUCCESS)
        return rc;
    *result = Handles().Add(std::move(path), access);
    if (disposition)
        *disposition = createdAny ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    auto parent = Resolve(key);
    if (!parent)
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> path = parent->path;
    if (!AppendSubKey(path, subKey))
        return ERROR_INVALID_PARAMETER;
    RegistryStore& store = StoreOf(*parent);
    LONG rc = store.Read(
        [&](const RegKey& top)
        {
            if (!top.Find(parent->path))
                return ERROR_KEY_DELETED;
            return top.Find(path) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
    if (rc != ERROR_SUCCESS)
        return rc;
    *result = Handles().Add(std::move(path), access);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key)
{
    if (PredefinedRootName(key))
        return ERROR_SUCCESS;
    return Handles().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    return ReadOpenKey(key, KEY_QUERY_VALUE,
                       [&](const RegKey& node)
                       {
                           const RegValue* value = node.FindValue(valueName ? valueName : "");
                           return value ? CopyValueData(*value, type, data, dataSize) : ERROR_FILE_NOT_FOUND;
                       });
}

LONG RegSetValueEx(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize)
{
    auto k = Resolve(key);
    if (!k)
        return ERROR_INVALID_HANDLE;
    if (!Allows(*k, KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (!data && dataSize > 0)
        return ERROR_INVALID_PARAMETER;
    RegValue value{valueName ? valueName : "", type, {}};
    if (type == REG_SZ)
    {
        const BYTE* end = dataSize ? static_cast<const BYTE*>(std::memchr(data, 0, dataSize)) : nullptr;
        value.data.assign(data, end ? end : data + dataSize);
    }
    else if (type == REG_DWORD)
    {
        if (dataSize != sizeof(DWORD))
            return ERROR_INVALID_PARAMETER;
        value.data.assign(data, data + dataSize);
    }
    else if (type == REG_BINARY)
        value.data.assign(data, data + dataSize);
    else
        return ERROR_INVALID_PARAMETER;
    RegistryStore& store = StoreOf(*k);
    return store.Write(
        [&](RegKey& top, bool& changed)
        {
            RegKey* node = top.Find(k->path);
            if (!node)
                return ERROR_KEY_DELETED;
            const RegValue* old = node->FindValue(value.name);
            changed = !old || old->type != value.type || old->data != value.data;
            if (changed)
                node->SetValue(std::move(value));
            return ERROR_SUCCESS;
        });
}

LONG RegDeleteValue(HKEY key, LPCSTR valueName)
{
    auto k = Resolve(key);
    if (!k)
        return ERROR_INVALID_HANDLE;
    if (!Allows(*k, KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    RegistryStore& store = StoreOf(*k);
    return store.Write(
        [&](RegKey& top, bool& changed)
        {
            RegKey* node = top.Find(k->path);
            if (!node)
                return ERROR_KEY_DELETED;
            changed = node->RemoveValue(valueName ? valueName : "");
            return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
}

LONG RegDeleteKey(HKEY key, LPCSTR subKey)
{
    auto k = Resolve(key);
    if (!k)
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> path = k->path;
    if (!AppendSubKey(path, subKey))
        return ERROR_INVALID_PARAMETER;
    if (path.size() == k->path.size())
        return ERROR_INVALID_PARAMETER;
    RegistryStore& store = StoreOf(*k);
    return store.Write(
        [&](RegKey& top, bool& changed)
        {
            if (!top.Find(k->path))
                return ERROR_KEY_DELETED;
            const std::string name = path.back();
            path.pop_back();
            RegKey* parent = top.Find(path);
            const RegKey* target = parent ? parent->FindChild(name) : nullptr;
            if (!target)
                return ERROR_FILE_NOT_FOUND;
            if (!target->ChildKeys().empty())
                return ERROR_ACCESS_DENIED;
            changed = parent->RemoveChild(name);
            return ERROR_SUCCESS;
        });
}

LONG RegDeleteTree(HKEY key, LPCSTR subKey)
{
    auto k = Resolve(key);
    if (!k)
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> path = k->path;
    if (!AppendSubKey(path, subKey))
        return ERROR_INVALID_PARAMETER;
    const bool emptiesKey = path.size() == k->path.size();
    if (emptiesKey && !Allows(*k, KEY_SET_VALUE | KEY_CREATE_SUB_KEY))
        return ERROR_ACCESS_DENIED;
    RegistryStore& store = StoreOf(*k);
    return store.Write(
        [&](RegKey& top, bool& changed)
        {
            RegKey* node = top.Find(k->path);
            if (!node)
                return ERROR_KEY_DELETED;
            if (emptiesKey)
            {
                changed = !node->Values().empty() || !node->ChildKeys().empty();
                *node = RegKey();
                return ERROR_SUCCESS;
            }
            const std::string name = path.back();
            path.pop_back();
            RegKey* parent = top.Find(path);
            if (!parent || !parent->RemoveChild(name))
                return ERROR_FILE_NOT_FOUND;
            changed = true;
            return ERROR_SUCCESS;
        });
}

LONG RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD, LPSTR keyClass,
                  LPDWORD classLength, void*)
{
    return ReadOpenKey(key, KEY_ENUMERATE_SUB_KEYS,
                       [&](const RegKey& node)
                       {
                           if (index >= node.ChildKeys().size())
                               return ERROR_NO_MORE_ITEMS;
                           auto it = std::next(node.ChildKeys().begin(), static_cast<long>(index));
                           if (LONG rc = CopyName(it->first, name, nameLength); rc != ERROR_SUCCESS)
                               return rc;
                           if (keyClass && classLength && *classLength > 0)
                           {
                               keyClass[0] = '\0';
                               *classLength = 0;
                           }
                           return ERROR_SUCCESS;
                       });
}

LONG RegEnumValue(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD, LPDWORD type,
                  LPBYTE data, LPDWORD dataSize)
{
    return ReadOpenKey(key, KEY_QUERY_VALUE,
                       [&](const RegKey& node)
                       {
                           if (index >= node.Values().size())
                               return ERROR_NO_MORE_ITEMS;
                           const RegValue& value = node.Values()[index];
                           if (LONG rc = CopyName(value.name, valueName, valueNameLength);
                               rc != ERROR_SUCCESS)
                               return rc;
                           return CopyValueData(value, type, data, dataSize);
                       });
}
