// A silent peer costs 500 ms for the first command and 20 ms for each further one.
#include "ComPC.h"

#include <algorithm>
#include <string>

namespace
{
constexpr unsigned long kReplyWait = 500;
constexpr unsigned long kReplyWaitAfterSilence = 20;
} // namespace

ComPC::ComPC(int number)
{
    LimitReplyWait(kReplyWait, kReplyWaitAfterSilence);
    setcom(number);
}

int ComPC::setcom(int number)
{
    const auto port = static_cast<std::uint8_t>(number);
    if (port == m_number)
        return 1;
    m_number = port;
    return OpenKept(BlockObjectNames("PC.", std::to_string(port)), pc_block::Size);
}

int ComPC::get(unsigned char* buf, unsigned short /*timeout*/, unsigned long len)
{
    if (len > pc_block::DataCapacity || !buf)
        return 0;
    return Transact(PC_CMD_READ, {},
                    [&](const BlockView& block) { std::copy_n(block.Bytes(pc_block::Data), len, buf); });
}

int ComPC::put(unsigned char* buf, unsigned long len)
{
    if (len > pc_block::DataCapacity || (len > 0 && !buf))
        return 0;
    return Transact(PC_CMD_WRITE,
                    [&](const BlockView& block) { std::copy_n(buf, len, block.Bytes(pc_block::Data)); });
}

int ComPC::flush()
{
    return Transact(PC_CMD_FLUSH);
}
