// A text too long for the object names is refused by the names' own limit.
#include "ComTcpIp.h"

#include <string>

ComTcpIp::ComTcpIp(const char* text) : StreamBlockClient(stream_block::DataCapacity)
{
    setcom(text);
}

int ComTcpIp::setcom(const char* text)
{
    const std::string name = text ? text : "";
    return OpenServed(BlockObjectNames("TCPIP.", name), stream_block::Size,
                      ServerStart{"CORMORANT " + name, false});
}
