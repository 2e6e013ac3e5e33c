// The version blocks every program, plug-in and component of the build registers at load.
#pragma once

#include "WinTypes.h"

struct VersionValue
{
    const char* name; // "ProductVersion", "FileVersion", "CompanyName", "LegalCopyright" ...
    const char* value;
};

// The version block of one module: its file name, translation and values.
struct VersionResource
{
    const char* moduleName; // "Tarveskon.EXE"; compared without case, extension or directory
    WORD language;
    WORD codePage;
    const VersionValue* values;
    int count;
};

// FALSE when another block is registered for that module.
BOOL RegisterVersionResource(const VersionResource* resource);
// A module being unloaded takes its block back.
void UnregisterVersionResource(const VersionResource* resource);

// Fills blocks with up to capacity registered blocks; answers how many.
int RegisteredVersionResources(const VersionResource** blocks, int capacity);
// The registered block of a module file name, or null.
const VersionResource* FindVersionResource(const char* fileName);

// Called with each block registered from now on (a module loaded later); null: none.
using VersionListener = void (*)(const VersionResource* resource);
void SetVersionListener(VersionListener listener);
