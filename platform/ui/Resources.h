// Resources compiled into a module (images, raw data) found by id and type, as tables in code.
#pragma once

#include <framework/WinTypes.h>

#include <cstddef>

constexpr const char* RT_BITMAP = "BITMAP";

struct ResourceData
{
    const void* data;
    size_t size;
};

// Registers bytes that live as long as the module; FALSE when another block already has that id and type.
BOOL AfxRegisterResource(UINT id, const char* type, const void* data, size_t size);
// Null when nothing is registered under the id and type (types compare without case).
const ResourceData* AfxFindResource(UINT id, const char* type);
// Removes a registration (a module that is unloaded takes its resources with it).
void AfxUnregisterResource(UINT id, const char* type);
