// TrackCollection4: the control's traces in order, with the selected one drawn last.
#pragma once

#include "Track4.h"

#include <string>
#include <vector>

class CTrackCollection4 final : public tvsk::com::DispatchObject<CTrackCollection4, ITrackCollection4>
{
public:
    CTrackCollection4() = default;
    ~CTrackCollection4() override;

    static const tvsk::com::DispatchTable<CTrackCollection4>& Dispatch();

    HRESULT get_Count(LONG* count) override;
    HRESULT get_Item(LONG index, VARIANT* item) override;
    HRESULT get__NewEnum(IUnknown** enumerator) override;
    HRESULT AddTrack(BSTR name) override;
    HRESULT Remove(LONG idx) override;
    HRESULT RemoveAll() override;

    // The new trace, or null when it could not be made.
    CTrack4* Add(const std::string& name);
    long Count() const noexcept { return static_cast<long>(m_tracks.size()); }
    CTrack4* At(long position) const;
    // First trace of that name (exact comparison); null for none.
    CTrack4* Find(const std::string& name) const;
    long PositionOf(const CTrack4* track) const;
    const std::vector<CTrack4*>& Tracks() const noexcept { return m_tracks; }
    // Every trace but the selected one in order, the selected one last.
    const std::vector<CTrack4*>& DrawOrder() const noexcept { return m_drawOrder; }
    // position -1: none selected.
    void Select(long position);
    CTrack4* Selected() const;

private:
    void RebuildDrawOrder();

    std::vector<CTrack4*> m_tracks; // each holds one reference
    std::vector<CTrack4*> m_drawOrder;
    long m_selected = 0; // 1-based; 0: none
};
