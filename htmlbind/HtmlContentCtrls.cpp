// The wrappers of page content: images, preformatted text, the body, anchors, the title and paragraphs.
#include "HtmlCtrls.h"

#include "HtmlAttributeLists.h"
#include "HtmlElemSink.h"

using namespace tvsk::com;
using tvsk::web::DomElement;

bool CHtmlImgCtrl::Accepts(const DomElement& element) const
{
    return element.TagName() == "IMG";
}

std::unique_ptr<CHtmlElemSink> CHtmlImgCtrl::CreateSink()
{
    return std::make_unique<CHtmlImgSink>(*this);
}

std::string CHtmlImgCtrl::GetTitle()
{
    return Element() ? Element()->Attribute("alt") : std::string();
}

bool CHtmlImgCtrl::SetTitle(const std::string& title)
{
    if (!Element())
        return false;
    Element()->SetAttribute("alt", title);
    return true;
}

// The picture of the value from the image list, else the value itself.
bool CHtmlImgCtrl::SetValue(const VARIANT& value)
{
    if (!Element() || value.vt == VT_EMPTY)
        return false;
    CHtmlVariant text;
    if (FAILED(ConvertValue(&text.v, &value, VT_BSTR)))
        return false;
    const std::string key = Utf8FromBstr(text.v.bstrVal);
    const auto it = m_images.find(key);
    Element()->SetAttribute("src", it != m_images.end() ? it->second : key);
    m_current = key;
    return true;
}

void CHtmlImgCtrl::ReadAttributes()
{
    if (Owner())
        if (const std::optional<std::string> list = Owner()->HiddenAttribute(Name(), "IMAGE"))
            for (auto& [value, picture] : ParseImageList(*list))
                m_images.emplace(value, picture);
    CHtmlElemCtrl::ReadAttributes();
}

void CHtmlImgCtrl::HandleImageClick()
{
    if (!Owner())
        return;
    const auto current = m_current ? m_images.find(*m_current) : m_images.end();
    if (!Owner()->HiddenAttribute(Name(), "CMD") || current == m_images.end())
    {
        Fire(DISPID_OnImageClick);
        return;
    }
    auto next = std::next(current);
    if (next == m_images.end())
        next = m_images.begin();
    m_current = next->first;
    CHtmlVariant name(MakeVariantBstr(Name()));
    CHtmlVariant value(MakeVariantBstr(next->first));
    Owner()->FireEvent(DISPID_OnImageClickSelVal, {name.v, value.v});
    SetValue(value.v);
}

bool CHtmlPreCtrl::Accepts(const DomElement&) const
{
    return true;
}

std::string CHtmlPreCtrl::ReadName() const
{
    return Element()->Id();
}

std::unique_ptr<CHtmlElemSink> CHtmlPreCtrl::CreateSink()
{
    return std::make_unique<CHtmlPreSink>(*this);
}

VARIANT CHtmlPreCtrl::GetValue()
{
    return Element() ? MakeVariantBstr(Element()->InnerHtml()) : CHtmlElemCtrl::GetValue();
}

bool CHtmlPreCtrl::SetValue(const VARIANT& value)
{
    return WriteStringOnly(value, &DomElement::SetInnerText);
}

bool CHtmlPreCtrl::SetDisabled(LONG disabled)
{
    m_clickFlag = disabled;
    return true;
}

void CHtmlPreCtrl::PreClick()
{
    if (m_clickFlag == 0)
        Fire(DISPID_OnPreClick);
}

bool CHtmlBodyCtrl::Accepts(const DomElement&) const
{
    return true;
}

std::unique_ptr<CHtmlElemSink> CHtmlBodyCtrl::CreateSink()
{
    return std::make_unique<CHtmlDocSink>(*this);
}

void CHtmlBodyCtrl::FireHelp()
{
    if (Owner())
        Owner()->FireEvent(DISPID_OnDocumentHelp);
}

bool CHtmlAnchorCtrl::Accepts(const DomElement& element) const
{
    return element.TagName() == "A";
}

std::unique_ptr<CHtmlElemSink> CHtmlAnchorCtrl::CreateSink()
{
    return std::make_unique<CHtmlAnchorSink>(*this);
}

VARIANT CHtmlAnchorCtrl::GetValue()
{
    return Element() ? MakeVariantBstr(Element()->InnerHtml()) : CHtmlElemCtrl::GetValue();
}

bool CHtmlAnchorCtrl::SetValue(const VARIANT& value)
{
    return WriteStringOnly(value, &DomElement::SetInnerText);
}

bool CHtmlTitleCtrl::Accepts(const DomElement& element) const
{
    return element.TagName() == "TITLE";
}

VARIANT CHtmlTitleCtrl::GetValue()
{
    return Element() ? MakeVariantBstr(Element()->InnerText()) : CHtmlElemCtrl::GetValue();
}

bool CHtmlParaCtrl::Accepts(const DomElement&) const
{
    return true;
}

std::string CHtmlParaCtrl::ReadName() const
{
    return Element()->Id();
}

VARIANT CHtmlParaCtrl::GetValue()
{
    return Element() ? MakeVariantBstr(Element()->InnerText()) : CHtmlElemCtrl::GetValue();
}

bool CHtmlParaCtrl::SetValue(const VARIANT& value)
{
    return WriteStringOnly(value, &DomElement::SetInnerText);
}
