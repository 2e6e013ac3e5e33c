// The socket kind's name text holds both pieces in 512 characters; longer texts are refused.
#include "ComSocket.h"

#include <string>

namespace
{
constexpr std::size_t kNameTextCapacity = 512;
constexpr unsigned long kSocketDetachPause = 300;
} // namespace

ComSocket::ComSocket(const char* first, const char* second)
    : NoticedStreamClient(stream_block::SocketDataCapacity)
{
    SetDetachPause(kSocketDetachPause);
    if (setcom(first, second) && !setline(second))
    {
        Detach(); // the server runs and answered
        close();
    }
}

int ComSocket::setcom(const char* first, const char* second)
{
    const std::string firstText = first ? first : "";
    const std::string secondText = second ? second : "";
    const std::string name = firstText + secondText;
    if (name.size() + 1 > kNameTextCapacity)
        return 0;
    if (SameName(name))
        return 1;
    m_name = name;
    return OpenServed(BlockObjectNames("SOCKET.", m_name), stream_block::SocketSize,
                      ServerStart{"HALYARD " + firstText + " " + secondText, false});
}

int ComSocket::setline(const char* text)
{
    if (!com_ok())
        return 0;
    const int result = SendLineText(text ? text : "", stream_block::SocketLineText);
    if (!result)
        MarkClosed();
    return result;
}

int ComSocket::flush()
{
    return Transact(STREAM_CMD_FLUSH);
}

int ComSocket::put_property(short code, void* data)
{
    if (code != 0x1000 || !data || !com_ok())
        return 0;
    const std::uint8_t value = *static_cast<const std::uint8_t*>(data);
    Transact(STREAM_CMD_PROPERTY_SOCKET,
             [&](const BlockView& block)
             {
                 block.SetU8(stream_block::Transferred, value);
                 block.SetU16(stream_block::Count, static_cast<std::uint16_t>(code));
             });
    return 1;
}
