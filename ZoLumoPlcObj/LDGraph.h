// Small link operations on the ladder element graph, shared by the network's editing code.
#pragma once

#include <ZoLumoPlcObj/LDLogicElem.h>

namespace LDGraph
{
inline void Link(CLDLogicElem* parent, CLDLogicElem* child)
{
    parent->m_Children.Add(child);
    child->m_Parents.Add(parent);
}

inline void ReplaceChild(CLDLogicElem* parent, CLDLogicElem* oldChild, CLDLogicElem* newChild)
{
    parent->m_Children[parent->FindChild(oldChild)] = newChild;
}

inline void ReplaceParent(CLDLogicElem* child, CLDLogicElem* oldParent, CLDLogicElem* newParent)
{
    child->m_Parents[child->FindParent(oldParent)] = newParent;
}

// Puts e on the wire from parent to child.
inline void InsertBetween(CLDLogicElem* parent, CLDLogicElem* child, CLDLogicElem* e)
{
    ReplaceChild(parent, child, e);
    ReplaceParent(child, parent, e);
    e->m_Parents.Add(parent);
    e->m_Children.Add(child);
}

inline bool IsPlaceable(const CLDLogicElem* e)
{
    return e->m_nType == LDELEM_CONTACT || e->m_nType == LDELEM_OUTPUT || e->m_nType == LDELEM_BOX;
}
} // namespace LDGraph
