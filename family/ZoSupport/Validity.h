// Plausibility checks of pointers handed between the editor's objects.
#pragma once

// True when p is non-null, aligned for a pointer and size bytes from it do not wrap the address
// space; size must be positive.
bool IsValidPointer(const void* p, int size);
// The same check for a whole object of size bytes.
bool IsValidObject(const void* p, int size);
