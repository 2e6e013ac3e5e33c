// A fake server of one outside port kind, named by FAKE_PORT_PROGRAM; the clients start it by that name.
#include "CanOpenNode.h"
#include "CanServer.h"
#include "Journal.h"
#include "StreamServer.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

using namespace fakeports;

namespace
{

struct Served
{
    std::unique_ptr<FakeServer> server;
    std::string prefix;
    std::string suffix;
    std::size_t blockSize = 0;
};

std::string Argument(int argc, char** argv, int index)
{
    return index < argc ? argv[index] : "";
}

std::uint8_t CanOpenNodeNumber()
{
    const char* node = std::getenv("TVSK_FAKE_CANOPEN_NODE");
    return static_cast<std::uint8_t>(node ? std::atoi(node) : 1);
}

Served ServerFor(std::string_view program, int argc, char** argv)
{
    const std::string first = Argument(argc, argv, 1);
    const std::string second = Argument(argc, argv, 2);
    const std::string number = std::to_string(std::atoi(first.c_str()) & 0xFF);
    if (program == "KESTREL")
        return {std::make_unique<CanServer>(std::make_unique<LoopbackPeer>(), false), "CAN.", "0",
                can_block::Size};
    if (program == "MARLOCK")
        return {std::make_unique<CanServer>(std::make_unique<LoopbackPeer>(), true), "CANPC.", "0",
                can_block::PCSize};
    if (program == "TOLLGATE")
        return {std::make_unique<CanServer>(std::make_unique<CanOpenNode>(CanOpenNodeNumber()), true),
                "CANUSB.", number, can_block::PCSize};
    if (program == "DUNMORE")
        return {std::make_unique<StreamServer>(StreamKind::DP), "DP.", first, stream_block::Size};
    if (program == "WAYBRIDGE")
        return {std::make_unique<StreamServer>(StreamKind::DP), "DPDEB.", first, stream_block::Size};
    if (program == "OSPREY")
        return {std::make_unique<StreamServer>(StreamKind::Net), "NET.", first, stream_block::Size};
    if (program == "HALYARD")
        return {std::make_unique<StreamServer>(StreamKind::Socket), "SOCKET.", first + second,
                stream_block::SocketSize};
    return {std::make_unique<StreamServer>(StreamKind::TcpIp), "TCPIP.", first, stream_block::Size};
}

} // namespace

int main(int argc, char** argv)
{
    constexpr std::string_view program = FAKE_PORT_PROGRAM;
    std::string started = "start " + std::string(program);
    for (int i = 1; i < argc; ++i)
        started += std::string(" ") + argv[i];
    JournalLine(started);

    Served served = ServerFor(program, argc, argv);
    if (!served.server->Open(served.prefix, served.suffix, served.blockSize))
    {
        JournalLine("objects missing");
        return 1;
    }
    return served.server->Run() ? 0 : 2;
}
