// The byte transfers the DP, NET, SOCK and TCPIP kinds share: reads and writes through the data area.
#pragma once

#include "SharedBlockClient.h"

class StreamBlockClient : public SharedBlockClient
{
public:
    unsigned char get() override;
    int get(unsigned char* out) override;
    // 1 only when all len bytes came; the bytes that came are copied also otherwise.
    int get(unsigned char* buf, unsigned short timeout, unsigned long len) override;
    int put(unsigned char* buf, unsigned long len) override;
    int put(unsigned char c) override;

protected:
    explicit StreamBlockClient(std::size_t capacity) : m_capacity(capacity) {}

    // Copies the line text with its terminating zero to offset and sends the line command; 0 when
    // the text does not fit before the end of the data area.
    int SendLineText(const std::string& text, std::size_t offset);

private:
    int Read(unsigned short timeout, unsigned long len, unsigned char* buf, unsigned long* count);

    std::size_t m_capacity;
};

// Text kinds tell their server when a client takes and gives back the port.
class NoticedStreamClient : public StreamBlockClient
{
public:
    int lock(unsigned long ms) override;
    void unlock() override;

protected:
    using StreamBlockClient::StreamBlockClient;

    // The stored name text; a setcom with the same text, compared without case, changes nothing.
    bool SameName(const std::string& name) const;
    std::string m_name;
};
