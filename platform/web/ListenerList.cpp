#include "ListenerList.h"

#include <algorithm>

namespace tvsk::web
{

void ListenerList::Add(DomEventListener* listener)
{
    if (listener && !Contains(listener))
        m_listeners.push_back(listener);
}

bool ListenerList::Remove(DomEventListener* listener)
{
    const auto it = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (it == m_listeners.end())
        return false;
    m_listeners.erase(it);
    return true;
}

bool ListenerList::Contains(const DomEventListener* listener) const
{
    return std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end();
}

void ListenerList::Deliver(const DomEvent& event) const
{
    const std::vector<DomEventListener*> now = m_listeners;
    for (DomEventListener* listener : now)
        if (Contains(listener))
            listener->OnDomEvent(event);
}

} // namespace tvsk::web
