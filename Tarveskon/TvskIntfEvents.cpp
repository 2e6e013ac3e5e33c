// Each event answers whether a handler ran.
#include "TvskIntfEvents.h"

bool CTvskIntfEvents::Fire(DISPID number)
{
    m_intf.FireEvent(number, {});
    return m_intf.Delivered();
}

bool CTvskIntfEvents::Fire(DISPID number, const char* name, double value)
{
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = tvsk::com::BstrFromUtf8(name ? name : "");
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
