// The CAN kind always uses the objects numbered 0: its open string's number is the bit rate.
#include "ComCan.h"

ComCan::ComCan(unsigned long bitrate)
{
    setcom();
    setline(bitrate);
}

int ComCan::setcom()
{
    return OpenServed(BlockObjectNames("CAN.", "0"), can_block::Size, ServerStart{"KESTREL", true});
}

void ComCan::setline(unsigned long bitrate)
{
    Transact(CAN_CMD_SETLINE, [&](const BlockView& block)
             { block.SetU32(can_block::Value, static_cast<std::uint32_t>(bitrate)); });
}

int ComCan::get_event(unsigned long* time, unsigned long* id, unsigned char* data, unsigned long* len,
                      unsigned short /*timeout*/)
{
    return Receive(CAN_CMD_EVENT, 0, time, id, data, len);
}
