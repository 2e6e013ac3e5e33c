// Outgoing (event) interfaces: sinks connect with Advise, get a cookie, and leave with Unadvise.
#include "ConnectionPoint.h"

#include "Bstr.h"

#include <algorithm>

namespace tvsk::com
{

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, const IID& eventIid)
    : m_container(container), m_eventIid(eventIid)
{
}

ConnectionPoint::~ConnectionPoint()
{
    for (const Connection& c : m_connections)
        c.sink->Release();
}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint)
    {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef()
{
    return m_container.AddRef();
}

ULONG ConnectionPoint::Release()
{
    return m_container.Release();
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = m_eventIid;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    *container = &m_container;
    m_container.AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(m_eventIid, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    std::lock_guard lock(m_mutex);
    *cookie = m_nextCookie++;
    m_connections.push_back({*cookie, dispatch});
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie)
{
    IDispatch* sink = nullptr;
    {
        std::lock_guard lock(m_mutex);
        auto it = std::find_if(m_connections.begin(), m_connections.end(),
                               [cookie](const Connection& c) { return c.cookie == cookie; });
        if (it == m_connections.end())
            return CONNECT_E_NOCONNECTION;
        sink = it->sink;
        m_connections.erase(it);
    }
    sink->Release();
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

FireResult ConnectionPoint::Fire(DISPID id, std::span<const VARIANT> arguments)
{
    std::vector<IDispatch*> sinks;
    {
        std::lock_guard lock(m_mutex);
        for (const Connection& c : m_connections)
        {
            c.sink->AddRef();
            sinks.push_back(c.sink);
        }
    }
    // Each sink gets its own copies, so one sink cannot change what the next one sees.
    FireResult result;
    for (IDispatch* sink : sinks)
    {
        std::vector<VARIANT> reversed(arguments.size());
        for (size_t i = 0; i < arguments.size(); ++i)
        {
            VariantInit(&reversed[i]);
            VariantCopy(&reversed[i], &arguments[arguments.size() - 1 - i]);
        }
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        EXCEPINFO exception{};
        const HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                                        &exception, nullptr);
        ++result.reached;
        if (SUCCEEDED(hr))
            ++result.handled;
        if (FAILED(hr) && SUCCEEDED(result.firstFailure))
        {
            result.firstFailure = hr;
            if (hr == DISP_E_EXCEPTION && exception.bstrDescription)
                result.firstFailureText = Utf8FromBstr(exception.bstrDescription);
        }
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        for (VARIANT& v : reversed)
            VariantClear(&v);
        sink->Release();
    }
    return result;
}

size_t ConnectionPoint::SinkCount() const
{
    std::lock_guard lock(m_mutex);
    return m_connections.size();
}

HRESULT FindConnectionPointIn(std::initializer_list<ConnectionPoint*> points, REFIID iid,
                              IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    for (ConnectionPoint* p : points)
        if (p->EventIid() == iid)
        {
            p->AddRef();
            *point = p;
            return S_OK;
        }
    return CONNECT_E_NOCONNECTION;
}

} // namespace tvsk::com
