// The network link client: the OSPREY server of this computer, with a line text.
#pragma once

#include "StreamBlockClient.h"

class ComNet : public NoticedStreamClient
{
public:
    explicit ComNet(const char* text);

    int setcom(const char* name);
    // The server's answer decides whether the client stays open.
    int setline(const char* text);
    int flush() override;
};
