#include "Trace.h"

#include <atomic>

namespace
{
std::atomic<unsigned long> g_traceMask{0};
}

unsigned long SetTraceMask(unsigned long mask)
{
    return g_traceMask.exchange(mask);
}
