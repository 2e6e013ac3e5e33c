// In-memory tree of registry keys and their values.
#include "RegistryTree.h"

#include <algorithm>

namespace tvsk::registry
{

namespace
{
char FoldCase(char c) noexcept
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

bool NoCaseLess::operator()(std::string_view a, std::string_view b) const noexcept
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}

bool EqualNoCase(std::string_view a, std::string_view b) noexcept
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

RegKey* RegKey::FindChild(std::string_view name)
{
    auto it = m_children.find(std::string(name));
    return it == m_children.end() ? nullptr : it->second.get();
}

const RegKey* RegKey::FindChild(std::string_view name) const
{
    auto it = m_children.find(std::string(name));
    return it == m_children.end() ? nullptr : it->second.get();
}

RegKey& RegKey::ObtainChild(const std::string& name, bool* created)
{
    auto [it, inserted] = m_children.try_emplace(name);
    if (inserted)
        it->second = std::make_unique<RegKey>();
    if (created)
        *created = inserted;
    return *it->second;
}

bool RegKey::RemoveChild(std::string_view name)
{
    return m_children.erase(std::string(name)) > 0;
}

const RegValue* RegKey::FindValue(std::string_view name) const
{
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const RegValue& v) { return EqualNoCase(v.name, name); });
    return it == m_values.end() ? nullptr : &*it;
}

void RegKey::SetValue(RegValue value)
{
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const RegValue& v) { return EqualNoCase(v.name, value.name); });
    if (it == m_values.end())
        m_values.push_back(std::move(value));
    else
    {
        it->type = value.type;
        it->data = std::move(value.data);
    }
}

bool RegKey::RemoveValue(std::string_view name)
{
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const RegValue& v) { return EqualNoCase(v.name, name); });
    if (it == m_values.end())
        return false;
    m_values.erase(it);
    return true;
}

const RegKey* RegKey::Find(const std::vector<std::string>& path) const
{
    const RegKey* key = this;
    for (const std::string& name : path)
    {
        key = key->FindChild(name);
        if (!key)
            return nullptr;
    }
    return key;
}

RegKey* RegKey::Find(const std::vector<std::string>& path)
{
    return const_cast<RegKey*>(static_cast<const RegKey*>(this)->Find(path));
}

} // namespace tvsk::registry
