// The read and write commands of the block, as every port server runs them on its device.
#include "PortTransfer.h"

void ServeRead(PORT_BLOCK& block, CPortDevice& device, CPortSpy& spy)
{
    const DWORD count = block.argument;
    if (count > PORT_DATA_SIZE)
    {
        block.transferred = 0;
        block.result = 0;
    }
    else if (device.SetReadTimeout(block.readTimeout))
    {
        DWORD transferred = 0;
        block.result = device.Read(block.data, count, transferred) ? 1 : 0;
        block.transferred = transferred;
    }
    spy.Record(block.transferred, block.data, SPY_RECEIVED);
}

void ServeWrite(PORT_BLOCK& block, CPortDevice& device, CPortSpy& spy)
{
    const DWORD count = block.argument;
    DWORD transferred = 0;
    block.result = count <= PORT_DATA_SIZE && device.Write(block.data, count, transferred) ? 1 : 0;
    block.transferred = transferred;
    spy.Record(transferred, block.data, SPY_SENT);
}
