#include "DomUserInput.h"

namespace tvsk::web
{

void DomUserInput::Send(DomElement& element, DomEventType type, int keyCode)
{
    element.Document().DispatchEvent(DomEvent{type, &element, keyCode, 0, 0});
}

bool DomUserInput::TakesInput(const DomElement& element)
{
    return !element.Disabled();
}

void DomUserInput::Focus(DomElement& element)
{
    if (m_focused == &element)
        return;
    if (m_focused)
        Send(*m_focused, DomEventType::Blur);
    m_focused = &element;
    Send(element, DomEventType::Focus);
}

void DomUserInput::CheckRadio(DomElement& radio)
{
    DomDocument& document = radio.Document();
    for (size_t i = 0; i < document.ElementCount(); ++i)
    {
        DomElement* other = document.ElementAt(i);
        if (other != &radio && other->TagName() == "INPUT" && other->InputType() == "radio" &&
            other->Name() == radio.Name())
            other->LoadChecked(false);
    }
    radio.LoadChecked(true);
}

void DomUserInput::Click(DomElement& element)
{
    if (!TakesInput(element))
        return;
    Send(element, DomEventType::MouseDown);
    Focus(element);
    Send(element, DomEventType::MouseUp);
    if (element.TagName() == "INPUT" && element.InputType() == "checkbox")
        element.LoadChecked(!element.Checked());
    else if (element.TagName() == "INPUT" && element.InputType() == "radio")
        CheckRadio(element);
    Send(element, DomEventType::Click);
}

void DomUserInput::DoubleClick(DomElement& element)
{
    if (TakesInput(element))
        Send(element, DomEventType::DoubleClick);
}

void DomUserInput::MouseOver(DomElement& element)
{
    Send(element, DomEventType::MouseOver);
}

void DomUserInput::MouseOut(DomElement& element)
{
    Send(element, DomEventType::MouseOut);
}

void DomUserInput::Type(DomElement& field, std::string_view text)
{
    if (!TakesInput(field))
        return;
    Focus(field);
    field.LoadValue(std::string(text));
}

void DomUserInput::PressKey(DomElement& element, int keyCode)
{
    if (!TakesInput(element))
        return;
    Send(element, DomEventType::KeyDown, keyCode);
    Send(element, DomEventType::KeyPress, keyCode);
    Send(element, DomEventType::KeyUp, keyCode);
}

void DomUserInput::Choose(DomElement& select, std::string_view value)
{
    if (!TakesInput(select))
        return;
    Focus(select);
    select.LoadSelectedValue(value);
    Send(select, DomEventType::Change);
}

void DomUserInput::Help(DomDocument& document, DomElement* element)
{
    document.DispatchEvent(DomEvent{DomEventType::Help, element, kKeyF1, 0, 0});
}

} // namespace tvsk::web
