// What a user does to a page, for documents that no browser drives: state changes, then the events.
#pragma once

#include "DomDocument.h"

#include <string_view>

namespace tvsk::web
{

constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyF1 = 112;

// Disabled form elements take no clicks and no keys, as in a browser.
class DomUserInput
{
public:
    // Moves the focus: blur on the element that had it, focus on this one.
    void Focus(DomElement& element);
    // Mouse down, up and click; a checkbox toggles and a radio button is checked first.
    void Click(DomElement& element);
    void DoubleClick(DomElement& element);
    void MouseOver(DomElement& element);
    void MouseOut(DomElement& element);
    // Focuses the field and replaces its text.
    void Type(DomElement& field, std::string_view text);
    // Key down, key press and key up on the element.
    void PressKey(DomElement& element, int keyCode);
    // Picks the option with that value and reports the change.
    void Choose(DomElement& select, std::string_view value);
    // The help key: on the element, bubbling up; on the document itself with null.
    void Help(DomDocument& document, DomElement* element);

private:
    static void Send(DomElement& element, DomEventType type, int keyCode = 0);
    static bool TakesInput(const DomElement& element);
    static void CheckRadio(DomElement& radio);

    DomElement* m_focused = nullptr;
};

} // namespace tvsk::web
