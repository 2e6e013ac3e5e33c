// The network kind is named after this computer; a line text the block cannot hold is refused.
#include "ComNet.h"

#include <kernel/System.h>

#include <string>

ComNet::ComNet(const char* text) : NoticedStreamClient(stream_block::DataCapacity)
{
    const std::string line = text ? text : "";
    if (line.size() + 1 > stream_block::NetLineCapacity)
        return;
    char computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof computer;
    if (!GetComputerName(computer, &size))
        return;
    if (setcom(computer) && !setline(line.c_str()))
    {
        Detach(); // the server runs and answered
        close();
    }
}

int ComNet::setcom(const char* name)
{
    if (SameName(name))
        return 1;
    m_name = name;
    return OpenServed(BlockObjectNames("NET.", m_name), stream_block::Size,
                      ServerStart{"OSPREY " + m_name, false});
}

int ComNet::setline(const char* text)
{
    if (!com_ok())
        return 0;
    const int result = SendLineText(text, stream_block::NetLineText);
    if (!result)
        MarkClosed();
    return result;
}

int ComNet::flush()
{
    return Transact(STREAM_CMD_FLUSH);
}
