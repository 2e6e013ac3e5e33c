// The loopback far side of the fake bus.
#include "CanMessage.h"

#include <port/PortKindBlocks.h>

namespace fakeports
{

std::vector<CanMessage> LoopbackPeer::Answer(const CanMessage& sent)
{
    CanMessage back = sent;
    if (back.id == CAN_STREAM_OUT_ID)
        back.id = CAN_STREAM_IN_ID;
    return {back};
}

} // namespace fakeports
