// A fake CAN, PC-CAN or USB-CAN adapter server: a bus with one peer, filters per client.
#pragma once

#include "CanMessage.h"
#include "FakeServer.h"

#include <deque>
#include <map>
#include <memory>

namespace fakeports
{

class CanServer : public FakeServer
{
public:
    // adapterCommands: the PC-CAN and USB-CAN commands 9 to 12 (else the CAN kind's event command 8).
    CanServer(std::unique_ptr<CanPeer> peer, bool adapterCommands);

protected:
    void Serve(std::uint8_t command, const BlockView& block) override;

private:
    struct Filter
    {
        std::uint32_t mask;
        std::uint32_t value;
        bool operator==(const Filter&) const = default;
    };

    std::uint8_t Send(const BlockView& block);
    std::uint8_t Receive(const BlockView& block, std::uint16_t timeout);
    std::uint8_t ChangeFilter(const BlockView& block);
    std::uint8_t Request(const BlockView& block);
    std::uint8_t Property(const BlockView& block);
    std::uint8_t StreamWrite(const BlockView& block);
    std::uint8_t StreamRead(const BlockView& block);
    bool Passes(std::uint32_t client, std::uint32_t id) const;
    void Queue(std::vector<CanMessage> messages);

    std::unique_ptr<CanPeer> m_peer;
    bool m_adapterCommands;
    std::deque<CanMessage> m_bus;
    std::map<std::uint32_t, std::vector<Filter>> m_filters; // by client process id
    std::map<std::uint16_t, std::uint32_t> m_properties;
    std::deque<std::uint8_t> m_stream;
    std::uint32_t m_start;
};

} // namespace fakeports
