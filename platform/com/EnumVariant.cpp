// An IEnumVARIANT over copied values.
#include "EnumVariant.h"

namespace tvsk::com
{

VariantEnumerator::VariantEnumerator(const std::vector<VARIANT>& items)
{
    m_items.reserve(items.size());
    for (const VARIANT& item : items)
    {
        VARIANT copy;
        VariantInit(&copy);
        VariantCopy(&copy, &item);
        m_items.push_back(copy);
    }
}

VariantEnumerator::~VariantEnumerator()
{
    for (VARIANT& item : m_items)
        VariantClear(&item);
}

HRESULT VariantEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (!items && count)
        return E_POINTER;
    ULONG done = 0;
    for (; done < count && m_next < m_items.size(); ++done, ++m_next)
    {
        VariantInit(&items[done]);
        VariantCopy(&items[done], &m_items[m_next]);
    }
    if (fetched)
        *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT VariantEnumerator::Skip(ULONG count)
{
    const size_t left = m_items.size() - m_next;
    m_next += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT VariantEnumerator::Reset()
{
    m_next = 0;
    return S_OK;
}

HRESULT VariantEnumerator::Clone(IEnumVARIANT** copy)
{
    if (!copy)
        return E_POINTER;
    auto* clone = new VariantEnumerator(m_items);
    clone->m_next = m_next;
    clone->AddRef();
    *copy = clone;
    return S_OK;
}

} // namespace tvsk::com
