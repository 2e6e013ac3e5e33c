#include "HtmlElemCtrl.h"

#include "HtmlElemSink.h"

#include <framework/LeadingNumber.h>
#include <web/DomObjects.h>

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale>
#include <stdexcept>

using namespace tvsk::com;
using namespace tvsk::web;

namespace
{

// The decimal point of the user's locale; a locale the environment names but the system lacks
// leaves the C point.
char UserDecimalPoint()
{
    static const char point = []
    {
        try
        {
            return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
        }
        catch (const std::runtime_error&)
        {
            return '.';
        }
    }();
    return point;
}

const VARIANT* Dereferenced(const VARIANT* v)
{
    return v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal ? v->pvarVal : v;
}

const BSTR* StringIn(const VARIANT* v)
{
    if (v->vt == VT_BSTR)
        return &v->bstrVal;
    if (v->vt == (VT_BYREF | VT_BSTR))
        return v->pbstrVal;
    return nullptr;
}

bool IsReal(const VARIANT* v)
{
    const VARTYPE type = v->vt & static_cast<VARTYPE>(~VT_BYREF);
    return type == VT_R4 || type == VT_R8;
}

} // namespace

CHtmlElemCtrl::CHtmlElemCtrl(LONG kind) : m_kind(kind) {}

CHtmlElemCtrl::~CHtmlElemCtrl()
{
    Disconnect();
}

HRESULT CHtmlElemCtrl::ConvertValue(VARIANT* destination, const VARIANT* source, VARTYPE type)
{
    VariantClear(destination);
    source = Dereferenced(source);
    HRESULT hr = S_OK;
    if (type == VT_BSTR)
    {
        hr = VariantChangeType(destination, source, 0, VT_BSTR);
        if (SUCCEEDED(hr) && IsReal(source))
        {
            std::string text = Utf8FromBstr(destination->bstrVal);
            for (char& c : text)
                if (c == '.')
                    c = UserDecimalPoint();
            VariantClear(destination);
            *destination = MakeVariantBstr(text);
        }
    }
    else if (const BSTR* text = StringIn(source))
    {
        std::string number = Utf8FromBstr(*text);
        for (char& c : number)
            if (c == ',')
                c = '.';
        *destination = MakeVariantR8(tvsk::LeadingDouble(number));
    }
    else
        hr = VariantChangeType(destination, source, 0, type);
    if (FAILED(hr))
    {
        destination->vt = VT_ERROR;
        destination->scode = hr;
    }
    return hr;
}

bool CHtmlElemCtrl::Attach(DomElement* element)
{
    if (!element || !Accepts(*element))
        return false;
    m_element = element;
    m_name = ReadName();
    Attached();
    m_sink = CreateSink();
    if (m_sink && !m_sink->Connect())
    {
        m_sink.reset();
        m_element = nullptr;
        return false;
    }
    return true;
}

std::unique_ptr<CHtmlElemSink> CHtmlElemCtrl::CreateSink()
{
    return nullptr;
}

std::string CHtmlElemCtrl::ReadName() const
{
    return m_element->Name();
}

bool CHtmlElemCtrl::AfterScan()
{
    ReadAttributes();
    return true;
}

VARIANT CHtmlElemCtrl::GetValue()
{
    VARIANT empty;
    VariantInit(&empty);
    return empty;
}

bool CHtmlElemCtrl::SetValue(const VARIANT& value)
{
    return value.vt != VT_EMPTY;
}

OLE_COLOR CHtmlElemCtrl::GetColor()
{
    if (!m_element)
        return 0;
    const std::string style = m_element->Style(ColorProperty());
    OLE_COLOR color = 0;
    if (style.size() > 1 && style.front() == '#')
        std::from_chars(style.data() + 1, style.data() + style.size(), color, 16);
    return color;
}

bool CHtmlElemCtrl::SetColor(OLE_COLOR color)
{
    if (!m_element)
        return false;
    char text[8];
    std::snprintf(text, sizeof text, "#%06lx", static_cast<unsigned long>(color & 0xFFFFFFu));
    m_element->SetStyle(ColorProperty(), text);
    return true;
}

LONG CHtmlElemCtrl::GetDisabled()
{
    return 0;
}

bool CHtmlElemCtrl::SetDisabled(LONG)
{
    return false;
}

LONG CHtmlElemCtrl::ElementDisabled() const
{
    return m_element && m_element->Disabled() ? -1 : 0;
}

bool CHtmlElemCtrl::SetElementDisabled(LONG disabled)
{
    if (!m_element)
        return false;
    m_element->SetDisabled(disabled != 0);
    return true;
}

std::string CHtmlElemCtrl::GetTitle()
{
    return m_element ? m_element->Attribute("title") : std::string();
}

bool CHtmlElemCtrl::SetTitle(const std::string& title)
{
    if (!m_element)
        return false;
    m_element->SetAttribute("title", title);
    return true;
}

std::string CHtmlElemCtrl::GetId()
{
    return m_element ? m_element->Id() : std::string();
}

bool CHtmlElemCtrl::SetId(const std::string& id)
{
    if (!m_element)
        return false;
    m_element->SetAttribute("id", id);
    return true;
}

std::string CHtmlElemCtrl::GetText()
{
    return m_element ? m_element->InnerHtml() : std::string();
}

bool CHtmlElemCtrl::SetText(const std::string& html)
{
    if (!m_element)
        return false;
    m_element->SetInnerHtml(html);
    return true;
}

LONG CHtmlElemCtrl::GetWidth()
{
    return m_element ? m_element->OffsetWidth() : 0;
}

LONG CHtmlElemCtrl::GetHeight()
{
    return m_element ? m_element->OffsetHeight() : 0;
}

IDispatch* CHtmlElemCtrl::GetDispatch()
{
    if (!m_element || !m_owner || !m_owner->DocumentObject())
        return nullptr;
    ComPtr<IDomDocument> document;
    if (FAILED(m_owner->DocumentObject()->QueryInterface(IDomDocument::Iid,
                                                         reinterpret_cast<void**>(document.Receive()))))
        return nullptr;
    return NewElementObject(document.Get(), *m_element).Detach();
}

std::optional<bool> CHtmlElemCtrl::ReadOnlyMark()
{
    if (!m_owner)
        return std::nullopt;
    const std::optional<std::string> mark = m_owner->HiddenAttribute(m_name, "ATTRIBUTE");
    if (!mark)
        return std::nullopt;
    return *mark == "ro";
}

void CHtmlElemCtrl::ReadAttributes()
{
    if (const std::optional<bool> readOnly = ReadOnlyMark())
        SetDisabled(*readOnly ? 1 : 0);
}

bool CHtmlElemCtrl::WriteAsText(const VARIANT& value, void (DomElement::*write)(std::string_view))
{
    if (!m_element || value.vt == VT_EMPTY)
        return false;
    CHtmlVariant text;
    if (FAILED(ConvertValue(&text.v, &value, VT_BSTR)))
        return false;
    (m_element->*write)(Utf8FromBstr(text.v.bstrVal));
    return true;
}

bool CHtmlElemCtrl::WriteStringOnly(const VARIANT& value, void (DomElement::*write)(std::string_view))
{
    if (!m_element || value.vt != VT_BSTR)
        return false;
    (m_element->*write)(Utf8FromBstr(value.bstrVal));
    return true;
}

void CHtmlElemCtrl::Fire(DISPID id)
{
    if (!m_owner)
        return;
    CHtmlVariant name(MakeVariantBstr(m_name));
    m_owner->FireEvent(id, {name.v});
}

void CHtmlElemCtrl::FireFocus()
{
    Fire(DISPID_OnElementFocus);
}

void CHtmlElemCtrl::FireBlur()
{
    Fire(DISPID_OnElementBlur);
}

void CHtmlElemCtrl::FireOver()
{
    Fire(DISPID_OnElementOver);
}

void CHtmlElemCtrl::FireOut()
{
    Fire(DISPID_OnElementOut);
}

void CHtmlElemCtrl::FireHelp()
{
    Fire(DISPID_OnElementHelp);
}

void CHtmlElemCtrl::Disconnect()
{
    if (m_sink)
        m_sink->Disconnect();
}
