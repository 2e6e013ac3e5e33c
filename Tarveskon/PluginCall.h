// What hosts and plug-ins exchange besides the host interface: the request record and the commands.
#pragma once

#include <cstdint>

// A "PLUGIN#" request; belongs to the sender and lives until the message that carries it returns.
struct PLUGIN_CALL
{
    const char* pszName; // plug-in module
    long lReserved;      // set to 0, never read
    const char* pszArg;  // argument or page name; null when the element gave none
};

// Commands a host sends to a plug-in object (CPluginImpl::SendCommand).
enum PluginCommand : unsigned
{
    PLUGINCMD_SETINTF = 1,       // param1: the host's CPluginIntf
    PLUGINCMD_SETPARENT = 2,     // param1: the parent CWnd
    PLUGINCMD_RUN = 3,           // param1: argument text or 0, param2: PLUGIN_CALL record or 0
    PLUGINCMD_SETPAGE = 4,       // param1: page path or help topic
    PLUGINCMD_SETAUTOMATION = 5, // param1: the automation object
    PLUGINCMD_HELP = 6,          // param1: element id or topic, or null
    PLUGINCMD_SHOW = 7,          // bring the plug-in's window to the front
    PLUGINCMD_RESULT = 8,        // param1: int the plug-in sets to 1 when its dialog changed the selection
    PLUGINCMD_BROADCAST = 25     // broadcast to every loaded plug-in
};
