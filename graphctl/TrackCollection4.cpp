#include "TrackCollection4.h"

#include <algorithm>

using namespace tvsk::com;

CTrackCollection4::~CTrackCollection4()
{
    RemoveAll();
}

const DispatchTable<CTrackCollection4>& CTrackCollection4::Dispatch()
{
    static const DispatchTable<CTrackCollection4> table =
        DispatchTable<CTrackCollection4>(
            InterfaceDescription(ITrackCollection4::Iid, "ITrackCollection4", "ITrackCollection4 Interface"))
            .Get(0x60020000, "Count", &CTrackCollection4::get_Count)
            .Get(0, "Item", &CTrackCollection4::get_Item)
            .Get(-4, "_NewEnum", &CTrackCollection4::get__NewEnum)
            .Method(1, "AddTrack", &CTrackCollection4::AddTrack)
            .Method(2, "Remove", &CTrackCollection4::Remove)
            .Method(3, "RemoveAll", &CTrackCollection4::RemoveAll);
    return table;
}

HRESULT CTrackCollection4::get_Count(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = Count();
    return S_OK;
}

HRESULT CTrackCollection4::get_Item(LONG index, VARIANT* item)
{
    if (!item)
        return E_POINTER;
    item->vt = VT_UNKNOWN;
    item->punkVal = nullptr;
    if (index < 1 || index > Count())
        return E_INVALIDARG;
    CTrack4* track = m_tracks[static_cast<size_t>(index - 1)];
    track->AddRef();
    item->vt = VT_DISPATCH;
    item->pdispVal = track;
    return S_OK;
}

HRESULT CTrackCollection4::get__NewEnum(IUnknown** enumerator)
{
    if (enumerator)
        *enumerator = nullptr;
    return E_NOTIMPL;
}

HRESULT CTrackCollection4::AddTrack(BSTR name)
{
    return Add(Utf8FromBstr(name)) ? S_OK : E_OUTOFMEMORY;
}

CTrack4* CTrackCollection4::Add(const std::string& name)
{
    auto* track = new (std::nothrow) CTrack4;
    if (!track)
        return nullptr;
    track->AddRef();
    track->SetNameText(name);
    if (!m_tracks.empty())
        track->Buffer().SetWritePosition(m_tracks.front()->Buffer().WritePosition() + 1);
    m_tracks.push_back(track);
    m_selected = 0;
    RebuildDrawOrder();
    return track;
}

HRESULT CTrackCollection4::Remove(LONG idx)
{
    if (idx < 0 || idx >= Count())
        return E_FAIL;
    CTrack4* track = m_tracks[static_cast<size_t>(idx)];
    m_tracks.erase(m_tracks.begin() + idx);
    if (m_selected == idx + 1)
        m_selected = 0;
    else if (m_selected > idx + 1)
        --m_selected;
    RebuildDrawOrder();
    track->SetOwner(nullptr, nullptr);
    track->Release();
    return S_OK;
}

HRESULT CTrackCollection4::RemoveAll()
{
    std::vector<CTrack4*> tracks;
    tracks.swap(m_tracks);
    m_drawOrder.clear();
    m_selected = 0;
    for (CTrack4* track : tracks)
    {
        track->SetOwner(nullptr, nullptr);
        track->Release();
    }
    return S_OK;
}

CTrack4* CTrackCollection4::At(long position) const
{
    return position >= 0 && position < Count() ? m_tracks[static_cast<size_t>(position)] : nullptr;
}

CTrack4* CTrackCollection4::Find(const std::string& name) const
{
    for (CTrack4* track : m_tracks)
        if (track->NameText() == name)
            return track;
    return nullptr;
}

long CTrackCollection4::PositionOf(const CTrack4* track) const
{
    const auto it = std::find(m_tracks.begin(), m_tracks.end(), track);
    return it == m_tracks.end() ? -1 : static_cast<long>(it - m_tracks.begin());
}

void CTrackCollection4::Select(long position)
{
    m_selected = position >= 0 && position < Count() ? position + 1 : 0;
    RebuildDrawOrder();
}

CTrack4* CTrackCollection4::Selected() const
{
    return m_selected > 0 ? m_tracks[static_cast<size_t>(m_selected - 1)] : nullptr;
}

void CTrackCollection4::RebuildDrawOrder()
{
    m_drawOrder.clear();
    CTrack4* selected = Selected();
    for (CTrack4* track : m_tracks)
        if (track != selected)
            m_drawOrder.push_back(track);
    if (selected)
        m_drawOrder.push_back(selected);
}
