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

// Codes of the host's command entry (CPluginIntf::SendCommand); 20, 27 and 28 have no name.
enum HostCommand : unsigned
{
    HOSTCMD_READPAR = 1,
    HOSTCMD_WRITEPAR = 2,
    HOSTCMD_READPARS = 3,
    HOSTCMD_DOWNLPARAMS = 4,
    HOSTCMD_DRIVECMD = 5,
    HOSTCMD_CLEARPAGEPARS = 6,
    HOSTCMD_ADDPAGEPAR = 7,
    HOSTCMD_READALL = 8,
    HOSTCMD_WRITEALL = 9,
    HOSTCMD_CONNECT = 10,
    HOSTCMD_CONFIGCONN = 11,
    HOSTCMD_SORTPARS = 12,
    HOSTCMD_EXECUTE = 13,
    HOSTCMD_READADDR = 14,
    HOSTCMD_WRITEADDR = 15,
    HOSTCMD_READPARFAST = 16,
    HOSTCMD_SETEXCLUSIVE = 17,
    HOSTCMD_LOCKCOMM = 18,
    HOSTCMD_UNLOCKCOMM = 19,
    HOSTCMD_WRITEBIT = 21,
    HOSTCMD_PACKET = 22,
    HOSTCMD_PACKETRUN = 23,
    HOSTCMD_ENABLECOMM = 24,
    HOSTCMD_GETOSCMODE = 29,
    HOSTCMD_SETOSCMODE = 30,
    HOSTCMD_UPLOADPLC = 31,
    HOSTCMD_DOWNLPLC = 32,
    HOSTCMD_COMPAREPLC = 33,
    HOSTCMD_COMPAREWITHFILE = 34,
    HOSTCMD_COMPAREWITHDRIVE = 35,
    HOSTCMD_GOONLINE = 36,
    HOSTCMD_DOWNLCAMS = 37,
    HOSTCMD_SAVEPARAMETERS = 38,
    HOSTCMD_SAVEPLC = 40,
    HOSTCMD_SHOWHELP = 50,
    // A plug-in's long transfer in the host's progress window: begin (param1: the text, param2: the
    // exchanges in all), one exchange done (answers 1 once the user cancelled), end.
    HOSTCMD_BEGINTRANSFER = 60,
    HOSTCMD_TRANSFERSTEP = 61,
    HOSTCMD_ENDTRANSFER = 62
};
