#include "Display.h"

#include <cstdlib>
#include <initializer_list>

bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
    {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}
