// The socket link client: the HALYARD server named by two texts, with a line text.
#pragma once

#include "StreamBlockClient.h"

class ComSocket : public NoticedStreamClient
{
public:
    ComSocket(const char* first, const char* second);

    int setcom(const char* first, const char* second);
    // The server's answer decides whether the client stays open.
    int setline(const char* text);
    int flush() override;
    // Code 0x1000 with the byte at data.
    int put_property(short code, void* data) override;
};
