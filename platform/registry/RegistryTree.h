// In-memory tree of registry keys and their values.
#pragma once

#include <framework/WinTypes.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tvsk::registry
{

// ASCII case-insensitive ordering, as the platform compares key and value names.
struct NoCaseLess
{
    bool operator()(std::string_view a, std::string_view b) const noexcept;
};
bool EqualNoCase(std::string_view a, std::string_view b) noexcept;

struct RegValue
{
    std::string name; // empty: the key's default value
    DWORD type = 0;
    std::vector<BYTE> data; // REG_SZ: the text without its terminating zero
};

class RegKey
{
public:
    using Children = std::map<std::string, std::unique_ptr<RegKey>, NoCaseLess>;

    RegKey* FindChild(std::string_view name);
    const RegKey* FindChild(std::string_view name) const;
    // Returns the child, creating it when missing; created tells which.
    RegKey& ObtainChild(const std::string& name, bool* created = nullptr);
    bool RemoveChild(std::string_view name);
    const Children& ChildKeys() const noexcept { return m_children; }

    const RegValue* FindValue(std::string_view name) const;
    // Replaces a value of the same name in place, else appends it.
    void SetValue(RegValue value);
    bool RemoveValue(std::string_view name);
    const std::vector<RegValue>& Values() const noexcept { return m_values; }

    // Follows a path of key names; null when a key on the way is missing.
    const RegKey* Find(const std::vector<std::string>& path) const;
    RegKey* Find(const std::vector<std::string>& path);

private:
    Children m_children;
    std::vector<RegValue> m_values;
};

} // namespace tvsk::registry
