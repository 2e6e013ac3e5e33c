#include "DescString4.h"

using namespace tvsk::com;

namespace
{
template <class V> HRESULT Read(V value, V* out)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}
} // namespace

const DispatchTable<CDescString4>& CDescString4::Dispatch()
{
    static const DispatchTable<CDescString4> table =
        DispatchTable<CDescString4>(
            InterfaceDescription(IDescString4::Iid, "IDescString4", "IDescString4 Interface"))
            .Get(1, "String", &CDescString4::get_String)
            .Put(1, "String", &CDescString4::put_String)
            .Get(2, "PosX", &CDescString4::get_PosX)
            .Put(2, "PosX", &CDescString4::put_PosX)
            .Get(3, "PosY", &CDescString4::get_PosY)
            .Put(3, "PosY", &CDescString4::put_PosY)
            .Get(4, "Align", &CDescString4::get_Align)
            .Put(4, "Align", &CDescString4::put_Align)
            .Get(5, "Color", &CDescString4::get_Color)
            .Put(5, "Color", &CDescString4::put_Color);
    return table;
}

HRESULT CDescString4::get_String(BSTR* text)
{
    if (!text)
        return E_POINTER;
    *text = BstrFromUtf8(m_text);
    return S_OK;
}

HRESULT CDescString4::put_String(BSTR text)
{
    m_text = Utf8FromBstr(text);
    return S_OK;
}

HRESULT CDescString4::get_PosX(LONG* x)
{
    return Read(m_x, x);
}
HRESULT CDescString4::put_PosX(LONG x)
{
    m_x = x;
    return S_OK;
}
HRESULT CDescString4::get_PosY(LONG* y)
{
    return Read(m_y, y);
}
HRESULT CDescString4::put_PosY(LONG y)
{
    m_y = y;
    return S_OK;
}
HRESULT CDescString4::get_Align(SHORT* align)
{
    return Read(m_align, align);
}
HRESULT CDescString4::put_Align(SHORT align)
{
    m_align = align;
    return S_OK;
}
HRESULT CDescString4::get_Color(OLE_COLOR* color)
{
    return Read(m_color, color);
}
HRESULT CDescString4::put_Color(OLE_COLOR color)
{
    m_color = color;
    return S_OK;
}
