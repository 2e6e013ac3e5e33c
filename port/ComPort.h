// The port client interface: every kind of port (serial, modem, ...) is driven through it.
#pragma once

class ComPort
{
public:
    virtual ~ComPort() = default;
    virtual unsigned char get() { return 0; }
    virtual int get(unsigned char* /*out*/) { return 0; }
    virtual int get(unsigned char* /*buf*/, unsigned short /*timeout*/, unsigned long /*len*/) { return 0; }
    virtual int put(unsigned char* /*buf*/, unsigned long /*len*/) { return 0; }
    virtual int put(unsigned char /*c*/) { return 0; }
    virtual void reset() = 0;
    virtual int com_ok() = 0;
    virtual int lock(unsigned long ms) = 0;
    virtual void unlock() = 0;
    virtual int get_event(unsigned long* /*time*/, unsigned long* /*id*/, unsigned char* /*data*/,
                          unsigned long* /*len*/, unsigned short /*timeout*/)
    {
        return 0;
    }
    virtual int get_msg(unsigned long* /*id*/, unsigned char* /*data*/, unsigned long* /*len*/,
                        unsigned short /*timeout*/)
    {
        return 0;
    }
    virtual int req_msg(unsigned long /*id*/, unsigned long /*len*/) { return 0; }
    virtual int put_msg(unsigned long /*id*/, unsigned char* /*data*/, unsigned long /*len*/) { return 0; }
    virtual int msg_filter(bool /*add*/, unsigned long /*mask*/, unsigned long /*filter*/) { return 0; }
    virtual int flush() { return 1; }
    virtual int put_property(short /*code*/, void* /*data*/) { return 1; }
    virtual int get_property(short /*code*/, void* /*data*/) { return 1; }
    virtual int command(long /*cmd*/, void* /*data*/, long /*len*/) { return 1; }
};
