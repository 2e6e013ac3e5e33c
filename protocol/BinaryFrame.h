// Binary frames: start byte, command and drive address, byte address and length, data, checksum.
#pragma once

#include "ByteSource.h"
#include "ParAccess.h"

#include <span>
#include <vector>

namespace binary_frame
{
constexpr BYTE kStart = 0x7E;
constexpr BYTE kStuffing = 0x00;
constexpr BYTE kIdle = 0xFF; // a drive may send one before a reply
constexpr BYTE kReadParameter = 0x80;
constexpr BYTE kReadMemory = 0x40;
constexpr BYTE kWriteParameter = 0xA0;
constexpr BYTE kWriteMemory = 0x60;
constexpr BYTE kWriteBit = 0xC0;
constexpr BYTE kReply = 0x20;
constexpr BYTE kCommandMask = 0xE0;
constexpr BYTE kAddressMask = 0x1F;
} // namespace binary_frame

// The 8-bit sum of the bytes.
BYTE BinaryChecksum(std::span<const BYTE> bytes);
// The start byte, then body and its checksum with a zero after every 0x7E.
std::vector<BYTE> BuildBinaryFrame(std::span<const BYTE> body);
// The three header bytes after the start byte.
std::vector<BYTE> BinaryHeader(BYTE command, int driveAddress, int byteAddress, int length);

std::vector<BYTE> BuildBinaryReadRequest(int driveAddress, const ParAccess& access);
// value: the low 1, 2 or 4 bytes are sent; a bit is set when value is nonzero.
std::vector<BYTE> BuildBinaryWriteRequest(int driveAddress, const ParAccess& access, DWORD value);

// Reads frame bytes: the start byte (after at most one idle byte), then bytes with their stuffing.
class CBinaryFrameReader
{
public:
    explicit CBinaryFrameReader(CByteSource& source) : m_source(source) {}
    bool ReadStart();
    // A 0x7E must be followed by its stuffing zero.
    bool ReadStuffed(BYTE& byte);

private:
    CByteSource& m_source;
};

// Judges the reply to a binary read: 0, or error 1 (missing), 4 (header) or 5 (checksum). value
// is the little-endian data, shifted to the bit for a bit read; 0 after a failure.
int ReadBinaryReply(CByteSource& source, int driveAddress, const ParAccess& access, DWORD& value);
// Judges a write acknowledge: 0, or error 1 (missing) or 7 (another address).
int ReadBinaryAcknowledge(CByteSource& source, int driveAddress);
