// String tables of the loaded modules, looked up by string id.
#pragma once

#include <framework/CString.h>

struct RESOURCE_STRING
{
    UINT id;
    const char* text;
};

// Registers the string table of a module (null: the running program), replacing any earlier one.
void RegisterResourceStrings(HINSTANCE module, const RESOURCE_STRING* table, int count);
// Forgets the string table of a module, as when it is unloaded.
void UnregisterResourceStrings(HINSTANCE module);

// The text of id in the module's table (null: the running program), empty when there is none.
// The reference stays valid until this thread's next call; callers copy it at once.
CString& GetResourceString(UINT id, HINSTANCE module = nullptr);
