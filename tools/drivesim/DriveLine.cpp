#include "DriveLine.h"

#include <protocol/BinaryFrame.h>

#include <cstdio>
#include <cstdlib>

using namespace binary_frame;

namespace
{
constexpr int kAsciiMemoryFirst = 4096;
constexpr int kAsciiMemoryLast = 4608;
constexpr size_t kLongestAsciiCommand = 64;

bool IsWrite(BYTE command)
{
    const BYTE kind = command & kCommandMask;
    return kind == kWriteParameter || kind == kWriteMemory || kind == kWriteBit;
}

// "<number>" or "<number>.<bit>", then optionally "=<value>"; false when malformed.
bool ParseAsciiTarget(const std::string& text, bool withBit, long& number, long& bit, bool& write,
                      long& value)
{
    const char* at = text.c_str();
    char* end = nullptr;
    number = std::strtol(at, &end, 10);
    if (end == at)
        return false;
    at = end;
    if (withBit)
    {
        if (*at != '.')
            return false;
        bit = std::strtol(++at, &end, 10);
        if (end == at || bit < 0 || bit > 15)
            return false;
        at = end;
    }
    write = *at == '=';
    if (write)
    {
        value = std::strtol(++at, &end, 10);
        if (end == at)
            return false;
        at = end;
    }
    return *at == '\0';
}
ServedRequest AsciiRequest(bool write, bool memory, long number, long bit, int length, DWORD value)
{
    ServedRequest request;
    request.write = write;
    request.memory = memory;
    request.address = static_cast<int>(memory ? 2 * (number - kAsciiMemoryFirst) : number);
    request.bit = static_cast<int>(bit);
    request.bits = bit >= 0 ? 1 : 8 * length;
    request.value = value;
    return request;
}

DWORD LittleEndian(const BYTE* data, int length)
{
    DWORD value = 0;
    for (int i = length; i-- > 0;)
        value = value << 8 | data[i];
    return value;
}

// The bit a bit-write frame's masks aim at: the one its AND mask clears.
int MaskedBit(BYTE andMask)
{
    for (int bit = 0; bit < 8; ++bit)
        if (!(andMask & (1u << bit)))
            return bit;
    return 0;
}
} // namespace

bool ParseReplyFault(const std::string& name, ReplyFault& fault)
{
    if (name == "silent")
        fault = ReplyFault::Silent;
    else if (name == "corrupt")
        fault = ReplyFault::Corrupt;
    else if (name == "header")
        fault = ReplyFault::WrongHeader;
    else
        return false;
    return true;
}

bool CDriveLine::Streaming() const
{
    return !m_drives.empty() && m_drives.front().ParameterBit(static_cast<int>(m_streamBit & 0xFFFF),
                                                              static_cast<int>(m_streamBit >> 16));
}

void CDriveLine::Served(const ServedRequest& request) const
{
    if (m_journal && m_fault != ReplyFault::Silent)
        m_journal(request);
}

CDriveLine::CDriveLine(const std::vector<int>& addresses)
{
    for (int address : addresses)
        m_drives.emplace_back(address);
}

CSimulatedDrive* CDriveLine::Drive(int address)
{
    for (CSimulatedDrive& drive : m_drives)
        if (drive.Address() == address)
            return &drive;
    return nullptr;
}

std::vector<BYTE> CDriveLine::Receive(std::span<const BYTE> bytes)
{
    std::vector<BYTE> reply;
    for (BYTE b : bytes)
    {
        if (m_inFrame)
            ReceiveFrameByte(b, reply);
        else if (b == kStart)
        {
            m_inFrame = true;
            m_frame.clear();
            m_line.clear();
        }
        else
            ReceiveAsciiByte(b, reply);
    }
    if (m_fault == ReplyFault::Silent)
        reply.clear();
    return reply;
}

void CDriveLine::ReceiveFrameByte(BYTE byte, std::vector<BYTE>& reply)
{
    if (m_stuffingDue)
    {
        m_stuffingDue = false;
        if (byte != kStuffing)
        {
            // The 0x7E was a new start byte: what came before it was no frame.
            m_frame.clear();
            ReceiveFrameByte(byte, reply);
            return;
        }
        if (!FrameComplete())
            return;
    }
    else
    {
        m_frame.push_back(byte);
        if (byte == kStart)
        {
            m_stuffingDue = true;
            return;
        }
    }
    if (FrameComplete())
    {
        const std::vector<BYTE> answer = AnswerFrame();
        reply.insert(reply.end(), answer.begin(), answer.end());
        m_inFrame = false;
    }
}

bool CDriveLine::FrameComplete() const
{
    if (m_frame.size() < 4)
        return false;
    const size_t dataLength = IsWrite(m_frame[0]) ? (m_frame[1] & 0x07u) : 0;
    return m_frame.size() == 4 + dataLength;
}

std::vector<BYTE> CDriveLine::AnswerFrame()
{
    const std::span<const BYTE> body(m_frame.data(), m_frame.size() - 1);
    if (BinaryChecksum(body) != m_frame.back())
        return {};
    CSimulatedDrive* drive = Drive(m_frame[0] & kAddressMask);
    if (!drive)
        return {};
    ++m_framesServed;
    const BYTE command = m_frame[0] & kCommandMask;
    const int byteAddress = (m_frame[1] >> 3) << 8 | m_frame[2];
    const int length = m_frame[1] & 0x07;
    const BYTE* data = m_frame.data() + 3;
    const bool wasStreaming = Streaming();
    const std::vector<BYTE> acknowledge{kStart, static_cast<BYTE>(kReply + drive->Address())};
    switch (command)
    {
    case kWriteParameter:
        drive->WriteParameterBytes(byteAddress, data, length);
        Served({true, false, byteAddress / 2, -1, 8 * length, LittleEndian(data, length)});
        break;
    case kWriteMemory:
        drive->WriteMemoryBytes(byteAddress, data, length);
        Served({true, true, byteAddress, -1, 8 * length, LittleEndian(data, length)});
        return acknowledge;
    case kWriteBit:
        drive->WriteParameterBits(byteAddress, data[0], data[1]);
        Served({true, false, byteAddress / 2, (byteAddress % 2) * 8 + MaskedBit(data[0]), 1,
                data[1] != 0 ? 1u : 0u});
        break;
    case kReadParameter:
    case kReadMemory:
    {
        const bool memory = command == kReadMemory;
        const DWORD value = memory ? drive->ReadMemoryBytes(byteAddress, length)
                                   : drive->ReadParameterBytes(byteAddress, length);
        Served({false, memory, memory ? byteAddress : byteAddress / 2, -1, 8 * length, value});
        const int namedAddress = m_fault == ReplyFault::WrongHeader ? byteAddress + 2 : byteAddress;
        std::vector<BYTE> replyBody = BinaryHeader(kReply, drive->Address(), namedAddress, length);
        for (int i = 0; i < length; ++i)
            replyBody.push_back(static_cast<BYTE>(value >> (8 * i)));
        std::vector<BYTE> reply = BuildBinaryFrame(replyBody);
        if (m_fault == ReplyFault::Corrupt)
            reply.back() = reply.back() == kStuffing ? BYTE{0x01} : static_cast<BYTE>(reply.back() + 1);
        return reply;
    }
    default:
        return {};
    }
    // A parameter write that starts the stream is answered by the stream alone.
    if (!wasStreaming && Streaming() && drive == &m_drives.front())
        return {};
    return acknowledge;
}

void CDriveLine::ReceiveAsciiByte(BYTE byte, std::vector<BYTE>& reply)
{
    if (byte == '\n')
        return;
    if (byte != '\r')
    {
        // Noise that never ends in a CR is dropped rather than kept.
        if (m_line.size() >= kLongestAsciiCommand)
            m_line.clear();
        m_line.push_back(static_cast<char>(byte));
        return;
    }
    const std::string answer = m_drives.empty() ? std::string() : AnswerAscii(m_line);
    m_line.clear();
    reply.insert(reply.end(), answer.begin(), answer.end());
}

std::string CDriveLine::AnswerAscii(const std::string& line)
{
    CSimulatedDrive& drive = m_drives.front();
    const bool dword = line.rfind("XL", 0) == 0;
    const bool bitAccess = line.rfind("B", 0) == 0;
    if (!dword && !bitAccess && line.rfind("X", 0) != 0)
        return "ERR\r\n";
    long number = 0, bit = 0, value = 0;
    bool write = false;
    if (!ParseAsciiTarget(line.substr(dword ? 2 : 1), bitAccess, number, bit, write, value) || number < 0 ||
        number > kLastParameter || (bitAccess && number >= kAsciiMemoryFirst && number <= kAsciiMemoryLast))
        return "ERR\r\n";
    const bool memory = number >= kAsciiMemoryFirst && number <= kAsciiMemoryLast;
    const int byteAddress = static_cast<int>(memory ? 2 * (number - kAsciiMemoryFirst) : 2 * number);
    const int length = dword ? 4 : 2;
    if (write)
    {
        BYTE bytes[4];
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<BYTE>(static_cast<DWORD>(value) >> (8 * i));
        if (bitAccess)
            drive.SetParameterBit(static_cast<int>(number), static_cast<int>(bit), value != 0);
        else if (memory)
            drive.WriteMemoryBytes(byteAddress, bytes, length);
        else
            drive.WriteParameterBytes(byteAddress, bytes, length);
        Served(AsciiRequest(true, memory, number, bitAccess ? bit : -1, length, static_cast<DWORD>(value)));
        return "Ok\r\n";
    }
    long shown = 0;
    if (bitAccess)
        shown = drive.ParameterBit(static_cast<int>(number), static_cast<int>(bit)) ? 1 : 0;
    else
    {
        const DWORD raw = memory ? drive.ReadMemoryBytes(byteAddress, length)
                                 : drive.ReadParameterBytes(byteAddress, length);
        shown = dword ? static_cast<LONG>(raw) : static_cast<SHORT>(raw);
    }
    Served(AsciiRequest(false, memory, number, bitAccess ? bit : -1, length,
                        static_cast<DWORD>(shown) & (length == 4 || bitAccess ? 0xFFFFFFFFu : 0xFFFFu)));
    char text[32];
    std::snprintf(text, sizeof text, m_fault == ReplyFault::Corrupt ? "%ldx\r\n" : "%ld\r\n", shown);
    return text;
}
