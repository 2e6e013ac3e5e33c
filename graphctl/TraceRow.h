// The trace list's columns and the texts of a trace's row.
#pragma once

#include "Track4.h"

#include <array>
#include <string>

struct TraceColumn
{
    const char* heading;
    int width;
};

constexpr int kTraceColumnCount = 12;
constexpr int kColourColumn = 1;
constexpr int kFirstBarColumn = 8;
constexpr int kLastBarColumn = 10;
constexpr int kBarColumnWidth = 80;

constexpr std::array<TraceColumn, kTraceColumnCount> kTraceColumns = {{
    {"Track", 150},
    {"Color", 50},
    {"Um", 40},
    {"min value", 40},
    {"max value", 40},
    {"v/div", 50},
    {"min displ.", 50},
    {"max displ.", 50},
    {"blue cursor", 50},
    {"red cursor", 50},
    {"horz cursor", 50},
    {"note", 80},
}};

// The cell texts of a trace's row ("Color" is drawn, its text empty).
std::array<std::string, kTraceColumnCount> TraceRowTexts(const CTrack4& track);
