#include "BrowserPropertyStore.h"

CBrowserPropertyStore::~CBrowserPropertyStore()
{
    for (auto& [name, value] : m_values)
        VariantClear(&value);
}

void CBrowserPropertyStore::Put(const std::string& name, const VARIANT& value)
{
    auto found = m_values.find(name);
    if (found != m_values.end())
    {
        VariantClear(&found->second);
        m_values.erase(found);
    }
    if (value.vt == VT_EMPTY)
        return;
    VARIANT copy;
    VariantInit(&copy);
    if (SUCCEEDED(VariantCopy(&copy, &value)))
        m_values.emplace(name, copy);
}

bool CBrowserPropertyStore::Get(const std::string& name, VARIANT* value) const
{
    if (!value)
        return false;
    VariantInit(value);
    const auto found = m_values.find(name);
    return found != m_values.end() && SUCCEEDED(VariantCopy(value, &found->second));
}
