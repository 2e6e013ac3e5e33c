// The listeners of one event source; safe against listeners leaving while an event is delivered.
#pragma once

#include "DomEvent.h"

#include <vector>

namespace tvsk::web
{

class ListenerList
{
public:
    void Add(DomEventListener* listener);
    // False when the listener was not connected.
    bool Remove(DomEventListener* listener);
    bool Contains(const DomEventListener* listener) const;
    bool Empty() const noexcept { return m_listeners.empty(); }
    // Calls each listener connected now that is still connected when its turn comes.
    void Deliver(const DomEvent& event) const;

private:
    std::vector<DomEventListener*> m_listeners;
};

} // namespace tvsk::web
