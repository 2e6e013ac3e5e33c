// The TCP/IP link client: the CORMORANT server named by the open string's text.
#pragma once

#include "StreamBlockClient.h"

class ComTcpIp : public StreamBlockClient
{
public:
    explicit ComTcpIp(const char* text);

    int setcom(const char* text);
    // Nothing to send: the server keeps no queue of its own to flush.
    int flush() override { return 1; }
};
