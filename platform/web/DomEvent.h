// Element events as the page reports them, and the listeners that receive them.
#pragma once

namespace tvsk::web
{

class DomElement;

enum class DomEventType
{
    Focus,
    Blur,
    Click,
    DoubleClick,
    MouseDown,
    MouseUp,
    MouseOver,
    MouseOut,
    KeyDown,
    KeyPress,
    KeyUp,
    Change,
    Select,
    Help,
};

// Focus, blur and change stay on their target; the others travel up to the document.
constexpr bool Bubbles(DomEventType type) noexcept
{
    return type != DomEventType::Focus && type != DomEventType::Blur && type != DomEventType::Change;
}

struct DomEvent
{
    DomEventType type = DomEventType::Click;
    DomElement* target = nullptr; // null: the document itself
    int keyCode = 0;
    int clientX = 0;
    int clientY = 0;
};

// Receives the events of one element, or of a whole document.
class DomEventListener
{
public:
    virtual ~DomEventListener() = default;
    virtual void OnDomEvent(const DomEvent& event) = 0;
};

} // namespace tvsk::web
