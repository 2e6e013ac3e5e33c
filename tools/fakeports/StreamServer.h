// A fake DP, NET, SOCK or TCPIP server: an echo, the bytes written are the bytes read back.
#pragma once

#include "FakeServer.h"

#include <deque>

namespace fakeports
{

enum class StreamKind
{
    DP,
    Net,
    Socket,
    TcpIp,
};

class StreamServer : public FakeServer
{
public:
    explicit StreamServer(StreamKind kind) : m_kind(kind) {}

protected:
    void Serve(std::uint8_t command, const BlockView& block) override;

private:
    void SetLine(const BlockView& block);
    void Read(const BlockView& block);
    void Write(const BlockView& block);
    std::size_t Capacity() const;

    StreamKind m_kind;
    std::deque<std::uint8_t> m_echo;
};

} // namespace fakeports
