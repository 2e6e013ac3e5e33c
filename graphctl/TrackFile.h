// The trace file: tab-separated text, "ZO_OSC", a version and the number of traces, then names and samples.
#pragma once

#include "Track4.h"

#include <string>
#include <vector>

// What loading a trace file does to the control.
class TrackFileTarget
{
public:
    virtual void ClearTracks() = 0;
    // Null when no trace could be added.
    virtual CTrack4* NewTrack(const std::string& name) = 0;
    // Every trace resets to this capacity.
    virtual void SetCapacity(long dim) = 0;
    virtual long MaxTracks() const = 0;

protected:
    ~TrackFileTarget() = default;
};

namespace TrackFile
{

// Thread last-error codes of a failed load.
constexpr DWORD kErrorRead = 0xE0000001;
constexpr DWORD kErrorNoMemory = 0xE0000002;

// The file's text for these traces (version "10"); the first trace's slots give every sample line.
std::string Format(const std::vector<CTrack4*>& tracks);
// Writes the text beside the file and renames it over the file: a failure leaves the old file.
bool Write(const std::string& path, const std::string& text);
// Reads a file of version "10" or "11" into the target. On failure (a file cut short included)
// the traces stay as far as the reading got, and error holds the last-error code.
bool Load(const std::string& path, TrackFileTarget& target, DWORD& error);
// The same on text already read.
bool Parse(const std::string& text, const char* version, TrackFileTarget& target);

} // namespace TrackFile
