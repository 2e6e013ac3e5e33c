// The part every fake port server shares: the port's four named objects, the client list, the command loop.
#pragma once

#include <port/PortKindBlocks.h>

#include <kernel/Handle.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fakeports
{

class FakeServer
{
public:
    virtual ~FakeServer();
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    // Opens "<prefix>MAP<suffix>", "<prefix>EVEC<suffix>", "<prefix>EVER<suffix>", "<prefix>MTX<suffix>";
    // false when one is missing or the block is smaller than blockSize.
    bool Open(const std::string& prefix, const std::string& suffix, std::size_t blockSize);
    // Serves commands until the last client has detached; false when no command came for a minute.
    bool Run();

protected:
    FakeServer() = default;
    // Serves one command other than attach and detach; the result byte is the server's to write.
    virtual void Serve(std::uint8_t command, const BlockView& block) = 0;
    // The process id that came with the command (attach and detach, and every CAN command).
    static std::uint32_t Client(const BlockView& block) { return block.U32(block::ProcessId); }

private:
    // True once the last client has gone.
    bool Detach(const BlockView& block);

    HANDLE m_mapping = nullptr;
    HANDLE m_commandEvent = nullptr;
    HANDLE m_replyEvent = nullptr;
    HANDLE m_mutex = nullptr;
    void* m_view = nullptr;
    std::size_t m_blockSize = 0;
    std::vector<std::uint32_t> m_clients;
};

} // namespace fakeports
