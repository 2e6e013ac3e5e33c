// Reads, writes and line texts of the stream kinds; lock notices of the NET and SOCK kinds.
#include "StreamBlockClient.h"

#include <algorithm>
#include <cctype>

int StreamBlockClient::Read(unsigned short timeout, unsigned long len, unsigned char* buf,
                            unsigned long* count)
{
    return Transact(
        STREAM_CMD_READ,
        [&](const BlockView& block)
        {
            block.SetU16(stream_block::ReadTimeout, timeout);
            block.SetU32(stream_block::Count, static_cast<std::uint32_t>(len));
        },
        [&](const BlockView& block)
        {
            *count = block.U32(stream_block::Transferred);
            // The server's count is not trusted beyond the caller's buffer.
            if (block.U8(block::Result) == 1)
                std::copy_n(block.Bytes(stream_block::Data), std::min<unsigned long>(*count, len), buf);
        });
}

int StreamBlockClient::get(unsigned char* buf, unsigned short timeout, unsigned long len)
{
    if (len > m_capacity || !buf)
        return 0;
    unsigned long count = 0;
    return Read(timeout, len, buf, &count) == 1 && count == len ? 1 : 0;
}

int StreamBlockClient::get(unsigned char* out)
{
    if (!out)
        return 0;
    unsigned long count = 0;
    return Read(0, 1, out, &count);
}

unsigned char StreamBlockClient::get()
{
    unsigned char first = 0;
    Transact(
        STREAM_CMD_READ,
        [](const BlockView& block)
        {
            block.SetU16(stream_block::ReadTimeout, 0);
            block.SetU32(stream_block::Count, 1);
        },
        [&](const BlockView& block) { first = block.U8(stream_block::Data); });
    return first;
}

int StreamBlockClient::put(unsigned char* buf, unsigned long len)
{
    if (len > m_capacity || (len > 0 && !buf))
        return 0;
    return Transact(STREAM_CMD_WRITE,
                    [&](const BlockView& block)
                    {
                        std::copy_n(buf, len, block.Bytes(stream_block::Data));
                        block.SetU32(stream_block::Count, static_cast<std::uint32_t>(len));
                    });
}

int StreamBlockClient::put(unsigned char c)
{
    return put(&c, 1);
}

int StreamBlockClient::SendLineText(const std::string& text, std::size_t offset)
{
    if (text.size() + 1 > stream_block::Data + m_capacity - offset)
        return 0;
    return Transact(STREAM_CMD_SETLINE,
                    [&](const BlockView& block)
                    {
                        std::copy(text.begin(), text.end(), block.Bytes(offset));
                        block.SetU8(offset + text.size(), 0);
                    });
}

int NoticedStreamClient::lock(unsigned long ms)
{
    if (!com_ok())
        return 0;
    if (Locked())
        return 1;
    if (!StreamBlockClient::lock(ms))
        return 0;
    Transact(STREAM_CMD_LOCK_NOTICE);
    return 1;
}

void NoticedStreamClient::unlock()
{
    if (!Locked())
        return;
    Transact(STREAM_CMD_UNLOCK_NOTICE);
    StreamBlockClient::unlock();
}

bool NoticedStreamClient::SameName(const std::string& name) const
{
    return std::equal(name.begin(), name.end(), m_name.begin(), m_name.end(),
                      [](char a, char b) {
                          return std::toupper(static_cast<unsigned char>(a)) ==
                                 std::toupper(static_cast<unsigned char>(b));
                      });
}
