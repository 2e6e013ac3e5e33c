// The wrappers of form elements: hidden, text, select, button, radio and checkbox inputs.
#include "HtmlCtrls.h"

#include "HtmlAttributeLists.h"
#include "HtmlElemSink.h"

using namespace tvsk::com;
using tvsk::web::DomElement;

namespace
{

VARIANT BstrOf(const std::string& text)
{
    return MakeVariantBstr(text);
}

// A string is read as a number first; zero unchecks, anything else checks.
std::optional<bool> BooleanOf(const VARIANT& value)
{
    CHtmlVariant converted;
    if (FAILED(CHtmlElemCtrl::ConvertValue(&converted.v, &value, VT_BOOL)))
        return std::nullopt;
    if (converted.v.vt == VT_R8)
        return converted.v.dblVal != 0.0;
    return converted.v.boolVal != VARIANT_FALSE;
}

} // namespace

LONG InputKindOf(const DomElement& element)
{
    if (element.TagName() != "INPUT")
        return 0;
    const std::string type = element.InputType();
    if (type == "hidden")
        return HTMLCTRL_HIDDEN;
    if (type == "button" || type == "submit" || type == "reset")
        return HTMLCTRL_BUTTON;
    if (type == "radio")
        return HTMLCTRL_RADIO;
    if (type == "checkbox")
        return HTMLCTRL_CHECKBOX;
    if (type == "image" || type == "file")
        return 0;
    return HTMLCTRL_TEXT;
}

bool CHtmlHiddenCtrl::Accepts(const DomElement& element) const
{
    return InputKindOf(element) == HTMLCTRL_HIDDEN;
}

void CHtmlHiddenCtrl::Attached()
{
    m_attributes = ParseHiddenValue(Element()->Value());
}

VARIANT CHtmlHiddenCtrl::GetValue()
{
    return Element() ? BstrOf(Element()->Value()) : CHtmlElemCtrl::GetValue();
}

std::optional<std::string> CHtmlHiddenCtrl::GetAttribute(const std::string& key) const
{
    const auto it = m_attributes.find(key);
    if (it == m_attributes.end())
        return std::nullopt;
    return it->second;
}

bool CHtmlHiddenCtrl::SetAttribute(const std::string& key, const std::string& value)
{
    const auto it = m_attributes.find(key);
    if (it == m_attributes.end())
        return false;
    it->second = value;
    return true;
}

bool CHtmlTextCtrl::Accepts(const DomElement& element) const
{
    return InputKindOf(element) == HTMLCTRL_TEXT;
}

std::unique_ptr<CHtmlElemSink> CHtmlTextCtrl::CreateSink()
{
    return std::make_unique<CHtmlTextSink>(*this);
}

VARIANT CHtmlTextCtrl::GetValue()
{
    if (!Element())
        return CHtmlElemCtrl::GetValue();
    CHtmlVariant text(BstrOf(Element()->Value()));
    VARIANT number;
    VariantInit(&number);
    ConvertValue(&number, &text.v, VT_R8);
    return number;
}

bool CHtmlTextCtrl::SetValue(const VARIANT& value)
{
    return WriteAsText(value, &DomElement::SetValue);
}

void CHtmlTextCtrl::TextEnter()
{
    CHtmlCtrlOwner* owner = Owner();
    if (!owner || ReadOnlyMark().value_or(false))
        return;
    owner->SetCurrentElement(this);
    Fire(DISPID_OnTextEnter);
    owner->SetCurrentElement(nullptr);
}

void CHtmlTextCtrl::TextEscape()
{
    Fire(DISPID_OnTextEscape);
}

bool CHtmlSelectCtrl::Accepts(const DomElement& element) const
{
    return element.TagName() == "SELECT";
}

std::unique_ptr<CHtmlElemSink> CHtmlSelectCtrl::CreateSink()
{
    return std::make_unique<CHtmlSelectSink>(*this);
}

VARIANT CHtmlSelectCtrl::GetValue()
{
    return Element() ? BstrOf(Element()->Value()) : CHtmlElemCtrl::GetValue();
}

bool CHtmlSelectCtrl::SetValue(const VARIANT& value)
{
    return WriteAsText(value, &DomElement::SetValue);
}

bool CHtmlSelectCtrl::AddOption(const std::string& text, const std::string& value)
{
    if (!Document() || !Element())
        return false;
    Element()->AddOption(text, value);
    return true;
}

bool CHtmlSelectCtrl::RemoveAllOptions()
{
    if (!Element())
        return false;
    for (size_t n = Element()->Options().size(); n > 0; --n)
        if (!Element()->RemoveOption(0))
            return false;
    return true;
}

void CHtmlSelectCtrl::FireSelectChange()
{
    if (!Owner() || !Element())
        return;
    CHtmlVariant name(BstrOf(Name()));
    CHtmlVariant value(BstrOf(Element()->Value()));
    Owner()->FireEvent(DISPID_OnSelectChange, {name.v, value.v});
}

bool CHtmlButtonCtrl::Accepts(const DomElement& element) const
{
    return InputKindOf(element) == HTMLCTRL_BUTTON;
}

std::unique_ptr<CHtmlElemSink> CHtmlButtonCtrl::CreateSink()
{
    return std::make_unique<CHtmlButtonSink>(*this);
}

bool CHtmlButtonCtrl::SetValue(const VARIANT& value)
{
    return WriteAsText(value, &DomElement::SetValue);
}

bool CHtmlRadioCtrl::Accepts(const DomElement& element) const
{
    return InputKindOf(element) == HTMLCTRL_RADIO;
}

std::unique_ptr<CHtmlElemSink> CHtmlRadioCtrl::CreateSink()
{
    return std::make_unique<CHtmlRadioSink>(*this);
}

VARIANT CHtmlRadioCtrl::GetValue()
{
    return Element() ? BstrOf(Element()->Value()) : CHtmlElemCtrl::GetValue();
}

bool CHtmlRadioCtrl::SetValue(const VARIANT& value)
{
    const std::optional<bool> checked = BooleanOf(value);
    if (!Element() || !checked)
        return false;
    SetChecked(*checked);
    return true;
}

LONG CHtmlRadioCtrl::IsChecked() const
{
    return Element() && Element()->Checked() ? 1 : 0;
}

void CHtmlRadioCtrl::SetChecked(bool checked)
{
    if (Element())
        Element()->SetChecked(checked);
}

void CHtmlRadioCtrl::FireRadioChange()
{
    if (!Owner() || !Element())
        return;
    CHtmlVariant name(BstrOf(Name()));
    CHtmlVariant value(BstrOf(Element()->Value()));
    Owner()->FireEvent(DISPID_OnRadioChange, {name.v, value.v});
}

bool CHtmlCheckboxCtrl::Accepts(const DomElement& element) const
{
    return InputKindOf(element) == HTMLCTRL_CHECKBOX;
}

std::unique_ptr<CHtmlElemSink> CHtmlCheckboxCtrl::CreateSink()
{
    return std::make_unique<CHtmlCheckboxSink>(*this);
}

VARIANT CHtmlCheckboxCtrl::GetValue()
{
    VARIANT state;
    VariantInit(&state);
    state.vt = VT_I2;
    state.iVal = Element() && Element()->Checked() ? 1 : 0;
    return state;
}

bool CHtmlCheckboxCtrl::SetValue(const VARIANT& value)
{
    const std::optional<bool> checked = BooleanOf(value);
    if (!Element() || !checked)
        return false;
    Element()->SetChecked(*checked);
    return true;
}

void CHtmlCheckboxCtrl::FireCheckboxChange()
{
    if (!Owner())
        return;
    CHtmlVariant name(BstrOf(Name()));
    CHtmlVariant state(GetValue());
    Owner()->FireEvent(DISPID_OnCheckboxChange, {name.v, state.v});
}
