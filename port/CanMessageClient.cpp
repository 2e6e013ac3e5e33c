// Sending, receiving, requesting and filtering CAN messages through the block.
#include "CanMessageClient.h"

#include <algorithm>

int CanMessageClient::put_msg(unsigned long id, unsigned char* data, unsigned long len)
{
    if (len > can_block::DataCapacity || (len > 0 && !data))
        return 0;
    return Transact(CAN_CMD_SEND,
                    [&](const BlockView& block)
                    {
                        std::copy_n(data, len, block.Bytes(can_block::Data));
                        block.SetU8(can_block::Length, static_cast<std::uint8_t>(len));
                        block.SetU32(can_block::Id, static_cast<std::uint32_t>(id));
                    });
}

int CanMessageClient::get_msg(unsigned long* id, unsigned char* data, unsigned long* len,
                              unsigned short timeout)
{
    return Receive(CAN_CMD_RECV, timeout, nullptr, id, data, len);
}

int CanMessageClient::Receive(std::uint8_t command, unsigned short timeout, unsigned long* time,
                              unsigned long* id, unsigned char* data, unsigned long* len)
{
    if (!id || !len)
        return 0;
    const unsigned long capacity = *len;
    return Transact(
        command,
        [&](const BlockView& block)
        {
            if (command == CAN_CMD_RECV)
                block.SetU32(can_block::ReceiveTimeout, timeout);
        },
        [&](const BlockView& block)
        {
            if (block.U8(block::Result) != 1)
                return;
            const std::uint8_t length = block.U8(can_block::Length);
            if (length > capacity || length > can_block::DataCapacity || (length > 0 && !data))
            {
                block.SetU8(block::Result, 0);
                return;
            }
            std::copy_n(block.Bytes(can_block::Data), length, data);
            *id = block.U32(can_block::Id);
            *len = length;
            if (time)
                *time = block.U32(can_block::Value);
        });
}

int CanMessageClient::req_msg(unsigned long id, unsigned long len)
{
    return Transact(CAN_CMD_REQUEST,
                    [&](const BlockView& block)
                    {
                        block.SetU8(can_block::Length, static_cast<std::uint8_t>(len));
                        block.SetU32(can_block::Id, static_cast<std::uint32_t>(id));
                    });
}

int CanMessageClient::msg_filter(bool add, unsigned long mask, unsigned long filter)
{
    return Transact(CAN_CMD_FILTER,
                    [&](const BlockView& block)
                    {
                        block.SetU32(can_block::Id, static_cast<std::uint32_t>(filter));
                        block.SetU32(can_block::Value, static_cast<std::uint32_t>(mask));
                        block.SetU32(can_block::Length, add ? 0 : 1);
                    });
}
