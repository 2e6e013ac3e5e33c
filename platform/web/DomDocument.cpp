#include "DomDocument.h"

namespace tvsk::web
{

DomDocument::DomDocument(std::string url) : m_url(std::move(url)) {}

DomElement& DomDocument::AddElement(DomElement* parent, std::string tagName)
{
    const int index = static_cast<int>(m_elements.size());
    m_elements.push_back(std::make_unique<DomElement>(*this, parent, std::move(tagName), index));
    return *m_elements.back();
}

DomElement* DomDocument::ElementAt(size_t index) const
{
    return index < m_elements.size() ? m_elements[index].get() : nullptr;
}

DomElement* DomDocument::FindFirst(std::string_view tagName) const
{
    for (const auto& element : m_elements)
        if (element->TagName() == tagName)
            return element.get();
    return nullptr;
}

DomDocument& DomDocument::AddFrame(std::unique_ptr<DomDocument> frame)
{
    m_frames.push_back(std::move(frame));
    return *m_frames.back();
}

DomDocument* DomDocument::FrameAt(size_t index) const
{
    return index < m_frames.size() ? m_frames[index].get() : nullptr;
}

void DomDocument::DispatchEvent(const DomEvent& event) const
{
    if (!event.target)
    {
        m_listeners.Deliver(event);
        return;
    }
    event.target->Listeners().Deliver(event);
    if (!Bubbles(event.type))
        return;
    for (const DomElement* up = event.target->Parent(); up; up = up->Parent())
        up->Listeners().Deliver(event);
    m_listeners.Deliver(event);
}

} // namespace tvsk::web
