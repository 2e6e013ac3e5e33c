// Connecting a sink to a source object's outgoing interface in one call.
#pragma once

#include "ConnectionPoint.h"

// Finds the source's connection point for iid and connects sink, storing the cookie. With
// refCount FALSE the reference the source takes is given back at once, so the source does not
// keep the sink alive (the sink must then outlive the connection). FALSE on any failure.
BOOL AfxConnectionAdvise(IUnknown* source, REFIID iid, IUnknown* sink, BOOL refCount, DWORD* cookie);
// Disconnects the connection of that cookie; refCount as given to AfxConnectionAdvise.
BOOL AfxConnectionUnadvise(IUnknown* source, REFIID iid, IUnknown* sink, BOOL refCount, DWORD cookie);
