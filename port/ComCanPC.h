// The PC-CAN and USB-CAN adapter client: messages, and a byte stream over messages or the block.
#pragma once

#include "CanMessageClient.h"

class ComCanPC : public CanMessageClient
{
public:
    ComCanPC(unsigned char adapter, unsigned long first, unsigned long second, bool usb);

    int setcom(unsigned char adapter, unsigned long second);
    void setline(unsigned long first, unsigned long second);

    unsigned char get() override;
    int get(unsigned char* out) override;
    int get(unsigned char* buf, unsigned short timeout, unsigned long len) override;
    int put(unsigned char* buf, unsigned long len) override;
    int put(unsigned char c) override;
    int get_event(unsigned long* time, unsigned long* id, unsigned char* data, unsigned long* len,
                  unsigned short timeout) override;
    // Codes 1 to 6, 9 and 10 set the adapter's value from the byte at data; 9 also switches stream mode.
    int put_property(short code, void* data) override;
    // Codes 1 to 10: code 7 gives 32 bits, code 8 16 bits, the others one byte.
    int get_property(short code, void* data) override;
    int command(long cmd, void* data, long len) override;

private:
    int StreamGet(unsigned char* buf, unsigned short timeout, unsigned long len);
    int MessageGet(unsigned char* buf, unsigned short timeout, unsigned long len);
    int MessagePut(const unsigned char* buf, unsigned long len);

    bool m_usb;
    std::uint8_t m_streamMode = 0;
};
