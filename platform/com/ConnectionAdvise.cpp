#include "ConnectionAdvise.h"

namespace
{

ComPtr<IConnectionPoint> FindPoint(IUnknown* source, REFIID iid)
{
    ComPtr<IConnectionPointContainer> container;
    if (!source ||
        FAILED(source->QueryInterface(IID_IConnectionPointContainer,
                                      reinterpret_cast<void**>(container.Receive()))) ||
        !container)
        return {};
    ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(iid, point.Receive())))
        return {};
    return point;
}

} // namespace

BOOL AfxConnectionAdvise(IUnknown* source, REFIID iid, IUnknown* sink, BOOL refCount, DWORD* cookie)
{
    if (!sink || !cookie)
        return FALSE;
    const ComPtr<IConnectionPoint> point = FindPoint(source, iid);
    if (!point || FAILED(point->Advise(sink, cookie)))
        return FALSE;
    if (!refCount)
        sink->Release();
    return TRUE;
}

BOOL AfxConnectionUnadvise(IUnknown* source, REFIID iid, IUnknown* sink, BOOL refCount, DWORD cookie)
{
    const ComPtr<IConnectionPoint> point = FindPoint(source, iid);
    if (!point || !sink)
        return FALSE;
    // Unadvise releases the source's reference, which the caller gave back at Advise.
    if (!refCount)
        sink->AddRef();
    if (FAILED(point->Unadvise(cookie)))
    {
        if (!refCount)
            sink->Release();
        return FALSE;
    }
    return TRUE;
}
