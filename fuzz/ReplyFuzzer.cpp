// Replies of a drive: binary frames and acknowledges, and ASCII lines, for the access the first
// bytes choose.
#include "FuzzInput.h"

#include <protocol/AsciiCommand.h>
#include <protocol/BinaryFrame.h>
#include <protocol/ByteSource.h>

namespace
{
class InputSource : public CByteSource
{
public:
    explicit InputSource(fuzz::InputBytes& input) : m_input(input) {}
    bool ReadByte(BYTE& byte) override { return m_input.Take(byte); }

private:
    fuzz::InputBytes& m_input;
};

ParAccess AccessFrom(fuzz::InputBytes& input)
{
    static const ParWidth kWidths[] = {ParWidth::Bit, ParWidth::Byte, ParWidth::Word, ParWidth::DWord};
    ParAccess access;
    access.area = input.Byte() & 1 ? ParArea::Memory : ParArea::Parameter;
    const int index = input.Byte() | (input.Byte() << 8);
    access.index =
        access.area == ParArea::Memory ? kFirstMemoryWord + index % 0x201 : index % (kLastParameter + 1);
    access.width = kWidths[input.Byte() % 4];
    access.bit = input.Byte() % 16;
    return access;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputBytes input(data, size);
    const int driveAddress = input.Byte() % (kLastBinaryDriveAddress + 1);
    const ParAccess access = AccessFrom(input);
    InputSource source(input);
    DWORD value = 0;
    ReadBinaryReply(source, driveAddress, access, value);
    ReadBinaryAcknowledge(source, driveAddress);
    const AsciiReply reply = ReadAsciiReply(source);
    LONG number = 0;
    ParseAsciiValue(reply.text, number);
    IsAsciiWriteAcknowledge(reply);
    return 0;
}
