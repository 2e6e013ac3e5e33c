// Dump file primitives.
#include "PlcFBDDump.h"

#include <ZoSupport/ZoSupport.h>
#include <framework/File.h>

#include <cstdarg>
#include <cstdio>

namespace
{
CStdioFile g_dumpFile;
int g_depth = 0;
} // namespace

namespace PlcDump
{
bool Open(const char* fileName)
{
    if (g_dumpFile.IsOpen())
        g_dumpFile.Abort();
    return g_dumpFile.Open(fileName, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
}

void Close()
{
    if (!g_dumpFile.IsOpen())
        return;
    try
    {
        g_dumpFile.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        g_dumpFile.Abort();
        ProgramError("PlcFBDObject", __LINE__, "dump file not closed");
    }
}

int Depth()
{
    return g_depth;
}

void SetDepth(int depth)
{
    g_depth = depth;
}

void Write(const char* format, ...)
{
    if (!g_dumpFile.IsOpen())
        return;
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    try
    {
        g_dumpFile.WriteString(buffer);
    }
    catch (CException* e)
    {
        // A failed write ends the dump instead of writing a file with holes.
        e->Delete();
        g_dumpFile.Abort();
        ProgramError("PlcFBDObject", __LINE__, "dump file write failed");
    }
}

void Indent()
{
    Write("% 3d ", g_depth);
    for (int i = 0; i < g_depth; ++i)
        Write("  ");
}

void Blank()
{
    Indent();
    Write("\n");
}
} // namespace PlcDump
