#include "WarningSink.h"

#include <atomic>
#include <cstdio>

namespace
{
CStderrWarningSink g_stderrSink;
std::atomic<CWarningSink*> g_sink{&g_stderrSink};
} // namespace

void CStderrWarningSink::ShowWarning(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

CWarningSink* SetVrnSerWarningSink(CWarningSink* sink)
{
    return g_sink.exchange(sink ? sink : &g_stderrSink);
}

CWarningSink& VrnSerWarningSink()
{
    return *g_sink.load();
}
