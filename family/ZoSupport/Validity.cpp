#include "Validity.h"

#include <cstdint>

bool IsValidPointer(const void* p, int size)
{
    const auto address = reinterpret_cast<std::uintptr_t>(p);
    if (address == 0 || size <= 0)
        return false;
    if (address % alignof(void*) != 0)
        return false;
    return address <= UINTPTR_MAX - static_cast<std::uintptr_t>(size);
}

bool IsValidObject(const void* p, int size)
{
    return IsValidPointer(p, size);
}
