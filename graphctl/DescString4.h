// DescString4: a user string, a text the control draws on the graph.
#pragma once

#include "ZoGraph4.h"

#include <com/DispatchObject.h>

#include <string>

class CDescString4 final : public tvsk::com::DispatchObject<CDescString4, IDescString4>
{
public:
    static const tvsk::com::DispatchTable<CDescString4>& Dispatch();

    HRESULT get_String(BSTR* text) override;
    HRESULT put_String(BSTR text) override;
    HRESULT get_PosX(LONG* x) override;
    HRESULT put_PosX(LONG x) override;
    HRESULT get_PosY(LONG* y) override;
    HRESULT put_PosY(LONG y) override;
    HRESULT get_Align(SHORT* align) override;
    HRESULT put_Align(SHORT align) override;
    HRESULT get_Color(OLE_COLOR* color) override;
    HRESULT put_Color(OLE_COLOR color) override;

    const std::string& Text() const noexcept { return m_text; }
    void SetText(std::string text) { m_text = std::move(text); }
    LONG X() const noexcept { return m_x; }
    LONG Y() const noexcept { return m_y; }
    SHORT Align() const noexcept { return m_align; }
    OLE_COLOR Color() const noexcept { return m_color; }

private:
    std::string m_text;
    LONG m_x = 0;
    LONG m_y = 0;
    SHORT m_align = 1;
    OLE_COLOR m_color = 0;
};
