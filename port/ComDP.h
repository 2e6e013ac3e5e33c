// The DP field-bus client and its debug variant, through the DUNMORE and WAYBRIDGE servers.
#pragma once

#include "StreamBlockClient.h"

class ComDP : public StreamBlockClient
{
public:
    explicit ComDP(bool debug);

    int setcom(unsigned char port);
    int flush() override;
    // Codes 0x1000 to 0x1002 with the byte at data.
    int put_property(short code, void* data) override;
    void sbreak() {}

private:
    bool m_debug;
};
