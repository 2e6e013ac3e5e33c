// Reads a capture saved through the graph control back into the four channels.
#pragma once

#include <TvskOsc/model/OscAcquisition.h>

#include <array>
#include <string>
#include <vector>

using OscCaptureValues = std::array<std::vector<double>, COscAcquisition::kChannels>;

// The header ("ZO_OSC", version, trace count), the caption and one line a trace are skipped; every
// further non-empty line holds a time and at least four tab-separated numbers and gives one value
// a channel, the time itself unused. False, with values left empty, when the file cannot be read
// or is larger than kMaxInputFileSize (checked before reading),
// has no header, holds a line that is no sample, ends without a line end (cut short) or holds no
// sample, so that a bad file never replaces the capture on screen.
bool ReadOscCapture(const std::string& path, OscCaptureValues& values);
