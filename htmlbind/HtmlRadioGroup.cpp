#include "HtmlRadioGroup.h"

#include "HtmlCtrls.h"

#include <cstring>

namespace
{

// Equal when the types match and, per type, the values do.
bool SameVariant(const VARIANT& a, const VARIANT& b)
{
    if (a.vt != b.vt)
        return false;
    switch (a.vt)
    {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_I2:
    case VT_BOOL:
        return a.iVal == b.iVal;
    case VT_I4:
    case VT_ERROR:
        return a.lVal == b.lVal;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return a.punkVal == b.punkVal;
    case VT_R4:
        return a.fltVal == b.fltVal;
    case VT_R8:
        return a.dblVal == b.dblVal;
    case VT_UI1:
        return a.bVal == b.bVal;
    case VT_BSTR:
    {
        const UINT length = SysStringByteLen(a.bstrVal);
        return length == SysStringByteLen(b.bstrVal) &&
               (length == 0 || std::memcmp(a.bstrVal, b.bstrVal, length) == 0);
    }
    default:
        return false;
    }
}

} // namespace

VARIANT CHtmlRadioGroup::GetValue() const
{
    for (int i = 0; i < m_members.GetCount(); ++i)
    {
        auto* radio = dynamic_cast<CHtmlRadioCtrl*>(m_members.GetAt(i));
        if (radio && radio->IsChecked())
            return radio->GetValue();
    }
    VARIANT empty;
    VariantInit(&empty);
    return empty;
}

bool CHtmlRadioGroup::SetValue(const VARIANT& value)
{
    for (int i = 0; i < m_members.GetCount(); ++i)
    {
        auto* radio = dynamic_cast<CHtmlRadioCtrl*>(m_members.GetAt(i));
        if (!radio)
            continue;
        CHtmlVariant wanted, own(radio->GetValue()), ownText;
        CHtmlElemCtrl::ConvertValue(&wanted.v, &value, VT_BSTR);
        CHtmlElemCtrl::ConvertValue(&ownText.v, &own.v, VT_BSTR);
        if (SameVariant(wanted.v, ownText.v))
        {
            radio->SetChecked(true);
            return true;
        }
    }
    return false;
}

void CHtmlRadioGroup::Disconnect()
{
    for (int i = 0; i < m_members.GetCount(); ++i)
        m_members.GetAt(i)->Disconnect();
}
