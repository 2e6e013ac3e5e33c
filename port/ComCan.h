// The CAN adapter client: messages through the KESTREL server.
#pragma once

#include "CanMessageClient.h"

class ComCan : public CanMessageClient
{
public:
    explicit ComCan(unsigned long bitrate);

    int setcom();
    void setline(unsigned long bitrate);

    // Takes the next message with its time stamp at once; the time-out is not passed on.
    int get_event(unsigned long* time, unsigned long* id, unsigned char* data, unsigned long* len,
                  unsigned short timeout) override;
};
