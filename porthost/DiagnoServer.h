// What the diagnostics window needs of a port server: its traffic record and its clients.
#pragma once

#include "PortSpy.h"

#include <framework/Array.h>

class CDiagnoServer
{
public:
    virtual ~CDiagnoServer() = default;

    virtual CPortSpy& Spy() noexcept = 0;
    virtual int ClientCount() const noexcept = 0;
    // The attached client process identifiers, in attach order.
    virtual CDWordArray Clients() const = 0;
    // Detaches the client through the block, as a client does; TRUE when it was attached.
    virtual BOOL DetachClient(DWORD processId) = 0;
    // When no client is attached at all, sets the last-detach state so that the server ends.
    virtual void EndWithoutClients() = 0;
};
