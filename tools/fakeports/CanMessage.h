// One CAN message on the fake bus, and what answers the messages the clients send.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace fakeports
{

struct CanMessage
{
    std::uint32_t id = 0;
    std::uint8_t length = 0;
    std::array<std::uint8_t, 8> data{};
};

// The far side of the bus: the messages it sends back for one a client sent.
class CanPeer
{
public:
    virtual ~CanPeer() = default;
    virtual std::vector<CanMessage> Answer(const CanMessage& sent) = 0;
};

// Every message comes back; the byte stream's messages come back as the adapter's answers.
class LoopbackPeer : public CanPeer
{
public:
    std::vector<CanMessage> Answer(const CanMessage& sent) override;
};

} // namespace fakeports
