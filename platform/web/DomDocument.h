// A page document: its elements in document order, its frames, and the delivery of element events.
#pragma once

#include "DomElement.h"

#include <memory>
#include <string>
#include <vector>

namespace tvsk::web
{

// Told of every write the program makes to an element, so a live page can follow.
class DomWriteObserver
{
public:
    virtual ~DomWriteObserver() = default;
    // attribute: the attribute's name for DomProperty::Attribute, the style property's for Style.
    virtual void OnElementWritten(const DomElement& element, DomProperty property,
                                  std::string_view attribute) = 0;
};

class DomDocument
{
public:
    explicit DomDocument(std::string url = {});
    DomDocument(const DomDocument&) = delete;
    DomDocument& operator=(const DomDocument&) = delete;

    const std::string& Url() const noexcept { return m_url; }

    // Appends an element after all others (callers add them in document order).
    DomElement& AddElement(DomElement* parent, std::string tagName);
    size_t ElementCount() const noexcept { return m_elements.size(); }
    // Null outside 0 .. count - 1.
    DomElement* ElementAt(size_t index) const;
    DomElement* FindFirst(std::string_view tagName) const;

    DomDocument& AddFrame(std::unique_ptr<DomDocument> frame);
    size_t FrameCount() const noexcept { return m_frames.size(); }
    DomDocument* FrameAt(size_t index) const;

    void AddListener(DomEventListener* listener) { m_listeners.Add(listener); }
    bool RemoveListener(DomEventListener* listener) { return m_listeners.Remove(listener); }

    // Delivers to the target's listeners, then, when the event bubbles, to each ancestor's and the
    // document's. A target of null is the document itself.
    void DispatchEvent(const DomEvent& event) const;

    void SetWriteObserver(DomWriteObserver* observer) noexcept { m_writeObserver = observer; }
    DomWriteObserver* WriteObserver() const noexcept { return m_writeObserver; }

private:
    std::string m_url;
    std::vector<std::unique_ptr<DomElement>> m_elements;
    std::vector<std::unique_ptr<DomDocument>> m_frames;
    ListenerList m_listeners;
    DomWriteObserver* m_writeObserver = nullptr;
};

} // namespace tvsk::web
