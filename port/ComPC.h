// The client of a block another program on this computer keeps ("PC.MAP%d"); no server is started.
#pragma once

#include "SharedBlockClient.h"

class ComPC : public SharedBlockClient
{
public:
    explicit ComPC(int number);

    int setcom(int number);
    // The single-byte transfers stay at the base: they are not offered.
    using SharedBlockClient::get;
    using SharedBlockClient::put;
    // Copies len bytes (at most 512) of the answer; the time-out is not used.
    int get(unsigned char* buf, unsigned short timeout, unsigned long len) override;
    int put(unsigned char* buf, unsigned long len) override;
    int flush() override;
    void sbreak() {}

private:
    std::uint8_t m_number = 255;
};
