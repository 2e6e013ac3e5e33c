// Outgoing (event) interfaces: sinks connect with Advise, get a cookie, and leave with Unadvise.
#pragma once

#include "Dispatch.h"

#include <initializer_list>
#include <mutex>
#include <span>
#include <string>
#include <vector>

struct IConnectionPointContainer;
struct IEnumConnections;
struct IEnumConnectionPoints;

struct IConnectionPoint : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("B196B286-BAB4-101A-B69C-00AA00341D07");
    virtual HRESULT GetConnectionInterface(IID* iid) = 0;
    virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
    virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
    virtual HRESULT Unadvise(DWORD cookie) = 0;
    virtual HRESULT EnumConnections(IEnumConnections** connections) = 0;

protected:
    ~IConnectionPoint() = default;
};
inline constexpr IID IID_IConnectionPoint = IConnectionPoint::Iid;

struct IConnectionPointContainer : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("B196B284-BAB4-101A-B69C-00AA00341D07");
    virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) = 0;
    virtual HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) = 0;

protected:
    ~IConnectionPointContainer() = default;
};
inline constexpr IID IID_IConnectionPointContainer = IConnectionPointContainer::Iid;

namespace tvsk::com
{

struct FireResult
{
    int reached = 0;              // sinks called
    int handled = 0;              // sinks whose handler ran (answered success)
    HRESULT firstFailure = S_OK;  // the first failing sink's result
    std::string firstFailureText; // its exception description, when it gave one
};

// One outgoing interface of an object. It lives inside its container and shares its reference count.
// Sinks are kept in the order they connected; a sink must answer the event interface id or IDispatch.
class ConnectionPoint final : public IConnectionPoint
{
public:
    ConnectionPoint(IConnectionPointContainer& container, const IID& eventIid);
    ~ConnectionPoint();
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetConnectionInterface(IID* iid) override;
    HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override;
    // Cookies start at 1 and are never reused by this point.
    HRESULT Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT Unadvise(DWORD cookie) override;
    HRESULT EnumConnections(IEnumConnections** connections) override;

    // Calls Invoke(id, DISPATCH_METHOD) on every sink; arguments in natural order (first first), they
    // reach the sinks reversed as dispatch requires. Sinks may connect or leave during the call.
    FireResult Fire(DISPID id, std::span<const VARIANT> arguments);
    size_t SinkCount() const;
    const IID& EventIid() const noexcept { return m_eventIid; }

private:
    struct Connection
    {
        DWORD cookie;
        IDispatch* sink;
    };

    IConnectionPointContainer& m_container;
    IID m_eventIid;
    mutable std::mutex m_mutex;
    std::vector<Connection> m_connections;
    DWORD m_nextCookie = 1;
};

// For FindConnectionPoint: the point among points whose event interface is iid.
HRESULT FindConnectionPointIn(std::initializer_list<ConnectionPoint*> points, REFIID iid,
                              IConnectionPoint** point);

} // namespace tvsk::com
