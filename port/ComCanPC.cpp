// PC-CAN and USB-CAN: the same block, told apart by their names and servers.
#include "ComCanPC.h"

#include <algorithm>
#include <string>

namespace
{
constexpr short kStreamModeProperty = 9;

bool SettableProperty(short code)
{
    return (code >= 1 && code <= 6) || code == 9 || code == 10;
}
} // namespace

ComCanPC::ComCanPC(unsigned char adapter, unsigned long first, unsigned long second, bool usb) : m_usb(usb)
{
    setcom(adapter, second);
    setline(first, second);
}

int ComCanPC::setcom(unsigned char adapter, unsigned long second)
{
    if (m_usb)
        return OpenServed(BlockObjectNames("CANUSB.", std::to_string(adapter)), can_block::PCSize,
                          ServerStart{"TOLLGATE " + std::to_string(adapter), true});
    return OpenServed(BlockObjectNames("CANPC.", "0"), can_block::PCSize,
                      ServerStart{"MARLOCK " + std::to_string(adapter) + " " + std::to_string(second), true});
}

void ComCanPC::setline(unsigned long first, unsigned long second)
{
    Transact(CAN_CMD_SETLINE,
             [&](const BlockView& block)
             {
                 block.SetU32(can_block::Value, static_cast<std::uint32_t>(first));
                 block.SetU32(can_block::Id, static_cast<std::uint32_t>(second));
             });
}

int ComCanPC::get(unsigned char* buf, unsigned short timeout, unsigned long len)
{
    if (!com_ok() || !buf)
        return 0;
    return m_streamMode ? StreamGet(buf, timeout, len) : MessageGet(buf, timeout, len);
}

int ComCanPC::StreamGet(unsigned char* buf, unsigned short timeout, unsigned long len)
{
    int result = 1;
    for (unsigned long i = 0; i < len && result == 1; ++i)
    {
        result = Transact(
            CAN_CMD_STREAM_READ,
            [&](const BlockView& block)
            {
                block.SetU16(can_block::Length, timeout);
                block.SetU32(can_block::Id, 1);
            },
            [&](const BlockView& block) { buf[i] = block.U8(can_block::StreamData); });
    }
    return result;
}

// Each answer of the adapter carries one byte, in a message of its own identifier.
int ComCanPC::MessageGet(unsigned char* buf, unsigned short timeout, unsigned long len)
{
    int result = 1;
    unsigned long got = 0;
    while (got < len && result == 1)
    {
        unsigned char data[can_block::DataCapacity];
        unsigned long id = 0;
        unsigned long length = sizeof data;
        result = get_msg(&id, data, &length, timeout);
        if (result == 1 && id == CAN_STREAM_IN_ID && length > 0)
            buf[got++] = data[0];
    }
    return result;
}

int ComCanPC::put(unsigned char* buf, unsigned long len)
{
    if (!com_ok() || (len > 0 && !buf))
        return 0;
    if (!m_streamMode)
        return MessagePut(buf, len);
    if (len > can_block::StreamCapacity)
        return 0;
    return Transact(CAN_CMD_STREAM_WRITE,
                    [&](const BlockView& block)
                    {
                        std::copy_n(buf, len, block.Bytes(can_block::StreamData));
                        block.SetU32(can_block::Value, static_cast<std::uint32_t>(len));
                    });
}

int ComCanPC::MessagePut(const unsigned char* buf, unsigned long len)
{
    int result = 1;
    for (unsigned long sent = 0; sent < len && result == 1;)
    {
        const unsigned long part = std::min<unsigned long>(len - sent, can_block::DataCapacity);
        unsigned char data[can_block::DataCapacity];
        std::copy_n(buf + sent, part, data);
        result = put_msg(CAN_STREAM_OUT_ID, data, part);
        sent += part;
    }
    return result;
}

int ComCanPC::get(unsigned char* out)
{
    return get(out, 0, 1);
}

unsigned char ComCanPC::get()
{
    unsigned char byte = 0;
    get(&byte, 0, 1);
    return byte;
}

int ComCanPC::put(unsigned char c)
{
    return put(&c, 1);
}

int ComCanPC::get_event(unsigned long* time, unsigned long* id, unsigned char* data, unsigned long* len,
                        unsigned short timeout)
{
    return Receive(CAN_CMD_RECV, timeout, time, id, data, len);
}

int ComCanPC::put_property(short code, void* data)
{
    if (!SettableProperty(code) || !data || !com_ok())
        return 0;
    const std::uint8_t value = *static_cast<const std::uint8_t*>(data);
    if (code == kStreamModeProperty)
        m_streamMode = value;
    return Transact(CAN_CMD_PROPERTY,
                    [&](const BlockView& block)
                    {
                        block.SetU16(can_block::Value, static_cast<std::uint16_t>(code));
                        block.SetU8(can_block::PropertyDirection, 1);
                        block.SetU32(can_block::Id, value);
                    });
}

int ComCanPC::get_property(short code, void* data)
{
    if (!data)
        return 0;
    const int result = Transact(
        CAN_CMD_PROPERTY,
        [&](const BlockView& block)
        {
            block.SetU16(can_block::Value, static_cast<std::uint16_t>(code));
            block.SetU8(can_block::PropertyDirection, 0);
        },
        [&](const BlockView& block)
        {
            if (block.U8(block::Result) != 1 || code < 1 || code > 10)
                return;
            if (code == 7)
            {
                const std::uint32_t value = block.U32(can_block::Id);
                std::copy_n(reinterpret_cast<const std::uint8_t*>(&value), sizeof value,
                            static_cast<std::uint8_t*>(data));
            }
            else if (code == 8)
            {
                const std::uint16_t value = block.U16(can_block::Id);
                std::copy_n(reinterpret_cast<const std::uint8_t*>(&value), sizeof value,
                            static_cast<std::uint8_t*>(data));
            }
            else
            {
                *static_cast<std::uint8_t*>(data) = block.U8(can_block::Id);
            }
        });
    return result == 1 && code >= 1 && code <= 10 ? 1 : 0;
}

int ComCanPC::command(long cmd, void* /*data*/, long /*len*/)
{
    return Transact(CAN_CMD_COMMAND, [&](const BlockView& block)
                    { block.SetU32(can_block::Value, static_cast<std::uint32_t>(cmd)); }) == 1
               ? 1
               : 0;
}
