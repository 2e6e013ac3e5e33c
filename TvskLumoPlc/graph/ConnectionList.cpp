#include "ConnectionList.h"

#include "GraphPin.h"

#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <new>

template <class T> int CGraphOwningList<T>::Find(const T* object) const
{
    auto at = std::find(m_Objects.begin(), m_Objects.end(), object);
    return at == m_Objects.end() ? -1 : static_cast<int>(at - m_Objects.begin());
}

template <class T> int CGraphOwningList<T>::Add(T* object, bool renumber)
{
    try
    {
        m_Objects.push_back(object);
    }
    catch (const std::bad_alloc&)
    {
        ProgramError("ConnectionList", __LINE__, "out of memory");
        return -1;
    }
    if (renumber)
        Renumber();
    return GetSize() - 1;
}

template <class T> bool CGraphOwningList<T>::Detach(const T* object)
{
    const int index = Find(object);
    if (index < 0 || !object)
        return false;
    m_Objects.erase(m_Objects.begin() + index);
    return true;
}

template <class T> bool CGraphOwningList<T>::Remove(T* object)
{
    if (!Detach(object))
        return false;
    if (!m_bNoDelete)
        delete object;
    Renumber();
    return true;
}

template <class T> void CGraphOwningList<T>::Renumber()
{
    for (int i = 0; i < GetSize(); ++i)
        m_Objects[static_cast<size_t>(i)]->SetNumber(i);
}

template class CGraphOwningList<CConnection>;
template class CGraphOwningList<CCrossConnection>;

void CConnectionList::OffsetAll(int dx, int dy)
{
    for (CConnection* wire : m_Objects)
        wire->Offset(dx, dy);
}

CConnection* CConnectionList::Join(CConnection* first, CConnection* second, int& result)
{
    result = 0;
    if (!first || !second || first == second)
        return nullptr;
    // Orient both so that the first wire's end meets the second wire's start.
    const CConnection::End* from = nullptr;
    const CConnection::End* to = nullptr;
    bool firstForward = true;
    bool secondForward = true;
    for (bool a : {true, false})
        for (bool b : {true, false})
        {
            const CConnection::End& meetA = a ? first->GetEnd() : first->GetStart();
            const CConnection::End& meetB = b ? second->GetStart() : second->GetEnd();
            if (!from && meetA.point == meetB.point)
            {
                firstForward = a;
                secondForward = b;
                from = a ? &first->GetStart() : &first->GetEnd();
                to = b ? &second->GetEnd() : &second->GetStart();
            }
        }
    if (!from)
        return nullptr;
    if (!from->object && !to->object)
    {
        result = -1;
        return nullptr;
    }
    CConnection* joined = nullptr;
    try
    {
        joined = new CConnection;
    }
    catch (const std::bad_alloc&)
    {
        ProgramError("ConnectionList", __LINE__, "out of memory");
        result = -1;
        return nullptr;
    }
    joined->SetOwner(first->GetOwner());
    joined->SetNetwork(first->GetNetwork());
    auto path = [](const CConnection* wire, bool forward)
    {
        std::vector<GraphSegment> segments = wire->GetSegments();
        if (!forward)
        {
            std::reverse(segments.begin(), segments.end());
            for (GraphSegment& s : segments)
                s.Reverse();
        }
        return segments;
    };
    const CConnection::End start = *from;
    const CConnection::End end = *to;
    for (const GraphSegment& s : path(first, firstForward))
        joined->AddSegment(s.x1, s.y1, s.x2, s.y2, false);
    for (const GraphSegment& s : path(second, secondForward))
        joined->AddSegment(s.x1, s.y1, s.x2, s.y2, false);
    joined->Start() = start;
    joined->EndOf() = end;
    // The far pins and junction arms hold the new wire before the old ones go.
    for (const CConnection::End* far : {&start, &end})
    {
        CGraphObject* object = far->object;
        if (!object)
            continue;
        if (object->GetType() == FBD_PIN)
            static_cast<CGraphPin*>(object)->SetConnection(joined);
        else if (object->GetType() == FBD_CROSS)
        {
            auto* cross = static_cast<CCrossConnection*>(object);
            if (!cross->ReplaceConnection(first, joined))
                cross->ReplaceConnection(second, joined);
        }
    }
    // Only the two far ends went over to the new wire; the ends where the old wires met still hold
    // their pin or junction, so that deleting the wire frees it there (a junction may hold both a
    // far end and a meeting end).
    (firstForward ? first->Start() : first->EndOf()).object = nullptr;
    (secondForward ? second->EndOf() : second->Start()).object = nullptr;
    Remove(first);
    Remove(second);
    joined->CleanUp();
    joined->Validate();
    if (Add(joined, true) < 0)
    {
        delete joined;
        result = -1;
        return nullptr;
    }
    result = 1;
    return joined;
}

void CCrossList::RemoveFromAll(const CConnection* wire)
{
    for (CCrossConnection* cross : m_Objects)
        cross->RemoveConnection(wire);
}

void CCrossList::OffsetAll(int dx, int dy)
{
    for (CCrossConnection* cross : m_Objects)
        cross->SetPosition(cross->GetPosition().x + dx, cross->GetPosition().y + dy);
}

void OffsetPins(const std::vector<CGraphPin*>& pins, int dx, int dy)
{
    for (CGraphPin* pin : pins)
        pin->Offset(dx, dy);
}
