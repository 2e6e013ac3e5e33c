// The DP kinds use port 1; the line command carries no values.
#include "ComDP.h"

#include <string>

ComDP::ComDP(bool debug) : StreamBlockClient(stream_block::DataCapacity), m_debug(debug)
{
    if (setcom(1))
        Transact(STREAM_CMD_SETLINE,
                 [](const BlockView& block)
                 {
                     block.SetU32(stream_block::Count, 0);
                     block.SetU8(stream_block::Bits, 0);
                     block.SetU8(stream_block::Parity, 0);
                     block.SetU8(stream_block::Stop, 0);
                 });
}

int ComDP::setcom(unsigned char port)
{
    const std::string number = std::to_string(port);
    return OpenServed(BlockObjectNames(m_debug ? "DPDEB." : "DP.", number), stream_block::Size,
                      ServerStart{(m_debug ? "WAYBRIDGE " : "DUNMORE ") + number, true});
}

int ComDP::flush()
{
    return Transact(STREAM_CMD_FLUSH);
}

int ComDP::put_property(short code, void* data)
{
    if (code < 0x1000 || code > 0x1002 || !data || !com_ok())
        return 0;
    const std::uint8_t value = *static_cast<const std::uint8_t*>(data);
    Transact(STREAM_CMD_PROPERTY_DP,
             [&](const BlockView& block)
             {
                 block.SetU8(stream_block::Transferred, value);
                 block.SetU16(stream_block::Count, static_cast<std::uint16_t>(code));
             });
    return 1;
}
