// IEnumVARIANT: walks the items of a collection (what For Each reaches through DISPID_NEWENUM).
#pragma once

#include "ComObject.h"
#include "Dispatch.h"

#include <vector>

constexpr DISPID DISPID_NEWENUM = -4;

struct IEnumVARIANT : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("00020404-0000-0000-C000-000000000046");
    // Copies up to count items into items; S_FALSE when fewer were left.
    virtual HRESULT Next(ULONG count, VARIANT* items, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumVARIANT** copy) = 0;

protected:
    ~IEnumVARIANT() = default;
};
inline constexpr IID IID_IEnumVARIANT = IEnumVARIANT::Iid;

namespace tvsk::com
{

// An enumerator over a snapshot of values.
class VariantEnumerator final : public ComObject<IEnumVARIANT>
{
public:
    explicit VariantEnumerator(const std::vector<VARIANT>& items);
    HRESULT Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumVARIANT** copy) override;

private:
    ~VariantEnumerator() override;
    std::vector<VARIANT> m_items;
    size_t m_next = 0;
};

} // namespace tvsk::com
