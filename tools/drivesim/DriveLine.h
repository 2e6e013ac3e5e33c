// The drives on one line: takes the bytes a host sends, answers binary frames at each drive's
// address and ASCII commands with the first drive, and stays silent on anything else.
#pragma once

#include "SimulatedDrive.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

// A fault the line puts into its replies to exercise the host's error paths.
enum class ReplyFault
{
    None,
    Silent,      // no reply at all
    Corrupt,     // binary: checksum off by one; ASCII: a character after the number
    WrongHeader, // binary read: the reply names the next parameter, checksum right
};

// "silent", "corrupt" or "header"; false for anything else.
bool ParseReplyFault(const std::string& name, ReplyFault& fault);

// A request a drive served, for the journal.
struct ServedRequest
{
    bool write = false;
    bool memory = false; // address is a memory byte, else a parameter word
    int address = 0;
    int bit = -1; // a bit access: the bit of the word
    int bits = 16;
    DWORD value = 0;
};

class CDriveLine
{
public:
    // The drives answer at their addresses; the first one also answers ASCII commands.
    explicit CDriveLine(const std::vector<int>& addresses);

    // Bytes as they arrive, in any pieces; returns the reply bytes they complete.
    std::vector<BYTE> Receive(std::span<const BYTE> bytes);
    void SetFault(ReplyFault fault) { m_fault = fault; }
    // How long the line holds each reply back.
    void SetReplyDelayMs(int milliseconds) { m_replyDelayMs = milliseconds; }
    int ReplyDelayMs() const { return m_replyDelayMs; }
    CSimulatedDrive* Drive(int address);
    std::vector<CSimulatedDrive>& Drives() { return m_drives; }
    // Binary frames the drives took (checksum right, address known), for tests.
    int FramesServed() const { return m_framesServed; }
    // Told of every request served while the drives answer.
    void SetJournal(std::function<void(const ServedRequest&)> journal) { m_journal = std::move(journal); }
    // The first drive's stream bit, packed (bit << 16) + word. A binary write that sets it is not
    // acknowledged: the drive starts its sample stream instead.
    void SetStreamBit(DWORD packed) { m_streamBit = packed; }
    bool Streaming() const;

private:
    void ReceiveFrameByte(BYTE byte, std::vector<BYTE>& reply);
    void ReceiveAsciiByte(BYTE byte, std::vector<BYTE>& reply);
    bool FrameComplete() const;
    std::vector<BYTE> AnswerFrame();
    std::string AnswerAscii(const std::string& line);
    void Served(const ServedRequest& request) const;

    std::vector<CSimulatedDrive> m_drives;
    ReplyFault m_fault = ReplyFault::None;
    int m_replyDelayMs = 0;
    bool m_inFrame = false;
    bool m_stuffingDue = false;
    std::vector<BYTE> m_frame; // unstuffed, after the start byte
    std::string m_line;
    int m_framesServed = 0;
    std::function<void(const ServedRequest&)> m_journal;
    DWORD m_streamBit = 0xB002A;
};
