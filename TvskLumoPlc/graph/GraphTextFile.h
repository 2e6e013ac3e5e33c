// The graph text form written to "LumoPlc.plc" when a ladder document is saved.
#pragma once

class CGraphManager;

// Writes the manager's text form with "\r\n" line ends through a temporary file that then
// replaces the named one, so an old file survives a failed write. False when nothing was written.
bool WriteGraphTextFile(const CGraphManager* manager, const char* path = "LumoPlc.plc");
