// The message operations the CAN and PC-CAN kinds share.
#pragma once

#include "SharedBlockClient.h"

class CanMessageClient : public SharedBlockClient
{
public:
    // A message holds at most 8 bytes; longer ones are refused.
    int put_msg(unsigned long id, unsigned char* data, unsigned long len) override;
    // *len holds the caller's capacity; a message longer than it, or than a message can be, fails.
    int get_msg(unsigned long* id, unsigned char* data, unsigned long* len, unsigned short timeout) override;
    int req_msg(unsigned long id, unsigned long len) override;
    int msg_filter(bool add, unsigned long mask, unsigned long filter) override;

protected:
    CanMessageClient() { StampEveryCommand(); }

    // Receives with command (receive or event), handing out the time stamp when time is given.
    int Receive(std::uint8_t command, unsigned short timeout, unsigned long* time, unsigned long* id,
                unsigned char* data, unsigned long* len);
};
