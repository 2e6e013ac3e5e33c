// Each event answers whether a handler ran.
#include "TvskIntfEvents.h"

namespace
{

VARIANT Text(const char* text)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BSTR;
    variant.bstrVal = tvsk::com::BstrFromUtf8(text ? text : "");
    return variant;
}

} // namespace

bool CTvskIntfEvents::Fire(DISPID number)
{
    m_intf.FireEvent(number, {});
    return m_intf.Delivered();
}

bool CTvskIntfEvents::Fire(DISPID number, const char* text)
{
    m_intf.FireEvent(number, {Text(text)});
    return m_intf.Delivered();
}

bool CTvskIntfEvents::Fire(DISPID number, const char* name, double value)
{
    VARIANT text = Text(name);
    VARIANT number8;
    VariantInit(&number8);
    number8.vt = VT_R8;
    number8.dblVal = value;
    m_intf.FireEvent(number, {text, number8});
    return m_intf.Delivered();
}

bool CTvskIntfEvents::LoadDefault(int kind)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I2;
    argument.iVal = static_cast<SHORT>(kind);
    m_intf.FireEvent(15, {argument});
    return m_intf.Delivered();
}
