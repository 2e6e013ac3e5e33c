#include "AnimationMap.h"

#include <ZoLumoPlcObj/PlcFBDElements.h>
#include <ZoLumoPlcObj/PlcLDElements.h>
#include <ZoSupport/ZoSupport.h>

namespace
{
// The object part of a reference "object.pin".
std::string ObjectOf(const CString& reference)
{
    const int point = reference.Find('.');
    return std::string((point >= 0 ? reference.Left(point) : reference).GetString());
}
} // namespace

bool CAnimationMap::Init(int capacity)
{
    Clear();
    if (capacity <= 0)
        return false;
    m_nCapacity = capacity;
    m_Entries.reserve(static_cast<size_t>(capacity));
    return true;
}

void CAnimationMap::Clear()
{
    m_Entries.clear();
    m_ByName.clear();
    m_nCapacity = 0;
}

bool CAnimationMap::Add(CPlcFBDObject* model, CGraphObject* element)
{
    if (!model || GetCount() >= m_nCapacity)
        return false;
    m_ByName.emplace(model->m_strID.GetString(), GetCount());
    ANIMATION_ENTRY entry;
    entry.model = model;
    entry.element = element;
    m_Entries.push_back(std::move(entry));
    return true;
}

void CAnimationMap::Link()
{
    for (ANIMATION_ENTRY& entry : m_Entries)
    {
        entry.previous.clear();
        entry.next.clear();
    }
    for (int i = 0; i < GetCount(); ++i)
    {
        const CPlcFBDObject* model = m_Entries[static_cast<size_t>(i)].model;
        if (model->m_nType != FBD_CONNECTION)
            continue;
        const auto* wire = static_cast<const CPlcFBDConnection*>(model);
        const int from = IndexOf(ObjectOf(wire->m_StartPin.m_strConnectedID).c_str());
        const int to = IndexOf(ObjectOf(wire->m_EndPin.m_strConnectedID).c_str());
        if (from >= 0)
        {
            m_Entries[static_cast<size_t>(i)].previous.push_back(from);
            m_Entries[static_cast<size_t>(from)].next.push_back(i);
        }
        if (to >= 0)
        {
            m_Entries[static_cast<size_t>(i)].next.push_back(to);
            m_Entries[static_cast<size_t>(to)].previous.push_back(i);
        }
    }
}

void CAnimationMap::ResetStates()
{
    for (ANIMATION_ENTRY& entry : m_Entries)
        entry.power = entry.conducts = entry.evaluated = 0;
}

bool CAnimationMap::Consistent() const
{
    if (GetCount() <= m_nCapacity)
        return true;
    ProgramError("AnimationMap", __LINE__, "more entries than room");
    return false;
}

ANIMATION_ENTRY* CAnimationMap::GetAt(int i)
{
    if (!Consistent() || i < 0 || i >= GetCount())
        return nullptr;
    return &m_Entries[static_cast<size_t>(i)];
}

int CAnimationMap::IndexOf(const char* name) const
{
    auto at = m_ByName.find(name ? name : "");
    return at == m_ByName.end() ? -1 : at->second;
}

ANIMATION_ENTRY* CAnimationMap::FindByName(const char* name)
{
    return Consistent() ? GetAt(IndexOf(name)) : nullptr;
}

ANIMATION_ENTRY* CAnimationMap::FindLeftRail()
{
    if (!Consistent())
        return nullptr;
    for (ANIMATION_ENTRY& entry : m_Entries)
        if (IsLeftRail(entry.model))
            return &entry;
    return nullptr;
}

bool CAnimationMap::IsLeftRail(const CPlcFBDObject* model)
{
    return model && model->m_nType == FBD_LD_POWER_RAIL &&
           static_cast<const CPlcLDPowerRail*>(model)->m_nSide == CPlcLDPowerRail::SIDE_LEFT;
}

bool CAnimationMap::IsNegated(const CPlcFBDObject* model)
{
    return model && model->m_nType == FBD_LD_CONTACT &&
           static_cast<const CPlcLDContact*>(model)->m_nKind == CPlcLDContact::KIND_NEGATED;
}

bool CAnimationMap::FansOut(const CPlcFBDObject* model)
{
    return model && model->m_nType == FBD_CROSS && static_cast<const CPlcFBDCross*>(model)->m_bFanOut;
}
