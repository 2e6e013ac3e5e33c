#include "BinaryFrame.h"

#include "DeviceLinkError.h"

#include <algorithm>
#include <numeric>

using namespace binary_frame;

BYTE BinaryChecksum(std::span<const BYTE> bytes)
{
    return static_cast<BYTE>(std::accumulate(bytes.begin(), bytes.end(), 0u));
}

std::vector<BYTE> BuildBinaryFrame(std::span<const BYTE> body)
{
    std::vector<BYTE> frame{kStart};
    auto append = [&frame](BYTE b)
    {
        frame.push_back(b);
        if (b == kStart)
            frame.push_back(kStuffing);
    };
    for (BYTE b : body)
        append(b);
    append(BinaryChecksum(body));
    return frame;
}

std::vector<BYTE> BinaryHeader(BYTE command, int driveAddress, int byteAddress, int length)
{
    return {static_cast<BYTE>(command | (driveAddress & kAddressMask)),
            static_cast<BYTE>(((byteAddress >> 8) & 0x1F) << 3 | (length & 0x07)),
            static_cast<BYTE>(byteAddress & 0xFF)};
}

std::vector<BYTE> BuildBinaryReadRequest(int driveAddress, const ParAccess& access)
{
    const BYTE command = access.area == ParArea::Memory ? kReadMemory : kReadParameter;
    return BuildBinaryFrame(BinaryHeader(command, driveAddress, access.ByteAddress(), access.ReadLength()));
}

std::vector<BYTE> BuildBinaryWriteRequest(int driveAddress, const ParAccess& access, DWORD value)
{
    std::vector<BYTE> body;
    if (access.width == ParWidth::Bit)
    {
        const int byteAddress = (access.ByteAddress() + (access.bit >= 8 ? 1 : 0)) & 0x1FFF;
        const BYTE mask = static_cast<BYTE>(1u << access.BitInByte());
        body = BinaryHeader(kWriteBit, driveAddress, byteAddress, 2);
        body.push_back(static_cast<BYTE>(~mask));
        body.push_back(value != 0 ? mask : 0);
    }
    else
    {
        const BYTE command = access.area == ParArea::Memory ? kWriteMemory : kWriteParameter;
        const int length = static_cast<int>(access.width);
        body = BinaryHeader(command, driveAddress, access.ByteAddress(), length);
        for (int i = 0; i < length; ++i)
            body.push_back(static_cast<BYTE>(value >> (8 * i)));
    }
    return BuildBinaryFrame(body);
}

bool CBinaryFrameReader::ReadStart()
{
    BYTE b = 0;
    if (!m_source.ReadByte(b))
        return false;
    if (b == kIdle && !m_source.ReadByte(b))
        return false;
    return b == kStart;
}

bool CBinaryFrameReader::ReadStuffed(BYTE& byte)
{
    if (!m_source.ReadByte(byte))
        return false;
    BYTE stuffing = 0xFF;
    return byte != kStart || (m_source.ReadByte(stuffing) && stuffing == kStuffing);
}

int ReadBinaryReply(CByteSource& source, int driveAddress, const ParAccess& access, DWORD& value)
{
    value = 0;
    CBinaryFrameReader reader(source);
    if (!reader.ReadStart())
        return DLE_NO_REPLY;
    const int length = access.ReadLength();
    std::vector<BYTE> body(3 + static_cast<size_t>(length));
    for (BYTE& b : body)
        if (!reader.ReadStuffed(b))
            return DLE_NO_REPLY;
    BYTE checksum = 0;
    if (!reader.ReadStuffed(checksum))
        return DLE_NO_REPLY;
    if (BinaryChecksum(body) != checksum)
        return DLE_CHECKSUM;
    // A reply for another drive or parameter carries a value that is not this one's.
    const std::vector<BYTE> expected = BinaryHeader(kReply, driveAddress, access.ByteAddress(), length);
    if (!std::equal(expected.begin(), expected.end(), body.begin()))
        return DLE_BAD_REPLY;
    DWORD data = 0;
    for (int i = length; i-- > 0;)
        data = data << 8 | body[3 + static_cast<size_t>(i)];
    value = access.width == ParWidth::Bit ? (data >> access.bit) & 1u : data;
    return DLE_OK;
}

int ReadBinaryAcknowledge(CByteSource& source, int driveAddress)
{
    CBinaryFrameReader reader(source);
    BYTE reply = 0;
    if (!reader.ReadStart() || !reader.ReadStuffed(reply))
        return DLE_NO_REPLY;
    return reply == static_cast<BYTE>(kReply + driveAddress) ? DLE_OK : DLE_OTHER_ADDRESS;
}
