#include "TrackFile.h"

#include <framework/File.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <new>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace TrackFile
{

namespace
{

// Names stay on their line and in their field.
std::string FieldText(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return text;
}

void AppendNumber(std::string& out, double value)
{
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, "%f", value);
    out.append(buffer, static_cast<size_t>(n));
}

// Pieces between separators; runs of separators count as one and empty pieces are dropped.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;)
    {
        const size_t end = line.find('\t', start);
        fields.push_back(
            line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

std::string_view WithoutLineEnd(std::string_view field)
{
    while (!field.empty() && field.back() == '\r')
        field.remove_suffix(1);
    return field;
}

// False for a time or value that is no finite number: no trace holds one.
bool Number(std::string_view field, double& value)
{
    value = std::strtod(std::string(field).c_str(), nullptr);
    return std::isfinite(value);
}

} // namespace

std::string Format(const std::vector<CTrack4*>& tracks)
{
    std::string out = "ZO_OSC\t10\t" + std::to_string(tracks.size()) + "\r\n";
    out += "time\t...\r\n";
    for (const CTrack4* track : tracks)
        out += FieldText(track->NameText()) + "\t" + FieldText(track->UmText()) + "\r\n";
    if (tracks.empty())
        return out;
    const TraceBuffer& first = tracks.front()->Buffer();
    const long count = first.SamplesNum();
    out.reserve(out.size() + static_cast<size_t>(count) * (tracks.size() + 1) * 14);
    for (long age = count - 1; age >= 0; --age)
    {
        const long slot = first.SlotOfAge(age);
        AppendNumber(out, first.Time(slot));
        out += '\t';
        for (size_t i = 0; i < tracks.size(); ++i)
        {
            if (i > 0)
                out += '\t';
            const TraceBuffer& buffer = tracks[i]->Buffer();
            AppendNumber(out, slot < buffer.Dim() ? buffer.Value(slot) : TraceBuffer::kEmptyMark);
        }
        out += "\r\n";
    }
    return out;
}

bool Write(const std::string& path, const std::string& text)
{
    return CFile::SaveWhole(path.c_str(), text);
}

bool Parse(const std::string& text, const char* version, TrackFileTarget& target)
{
    // Every line of the file ends with a line end; a last line without one was cut short, and
    // loading stops before it.
    const bool cut = !text.empty() && text.back() != '\n';
    std::vector<std::string_view> lines = SplitLines(text);
    if (cut && !lines.empty())
        lines.pop_back();
    if (lines.empty())
        return false;
    const std::vector<std::string_view> head = SplitFields(lines[0]);
    if (head.size() < 3 || head[0] != "ZO_OSC" || head[1] != version)
        return false;
    char* end = nullptr;
    const std::string countText(head[2]);
    const long count = std::strtol(countText.c_str(), &end, 10);
    if (end == countText.c_str() || count < 1)
        return false;
    // Checked before any trace goes: more traces than the control holds or than the file names.
    if (count > target.MaxTracks() || static_cast<size_t>(count) + 2 > lines.size())
        return false;

    target.ClearTracks();
    std::vector<CTrack4*> tracks;
    for (long i = 0; i < count; ++i)
    {
        const std::vector<std::string_view> fields =
            SplitFields(WithoutLineEnd(lines[static_cast<size_t>(2 + i)]));
        if (fields.size() < 2)
            return false;
        CTrack4* track = target.NewTrack(std::string(fields[0]));
        if (!track)
            return false;
        track->SetUmText(std::string(fields[1]));
        tracks.push_back(track);
    }
    const size_t firstSample = static_cast<size_t>(count) + 2;
    target.SetCapacity(std::max<long>(1, static_cast<long>(lines.size() - firstSample)));
    for (size_t l = firstSample; l < lines.size(); ++l)
    {
        const std::vector<std::string_view> fields = SplitFields(lines[l]);
        if (fields.size() < static_cast<size_t>(count) + 1)
            return false;
        double time = 0;
        if (!Number(fields[0], time))
            return false;
        for (long i = 0; i < count; ++i)
        {
            double value = 0;
            if (!Number(fields[static_cast<size_t>(i + 1)], value))
                return false;
            tracks[static_cast<size_t>(i)]->Buffer().Add(1, &value, &time);
        }
    }
    return !cut;
}

bool Load(const std::string& path, TrackFileTarget& target, DWORD& error)
{
    error = kErrorRead;
    if (path.empty() || !FitsForReading(path.c_str()))
        return false;
    std::string text;
    try
    {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return false;
        std::ostringstream contents;
        contents << file.rdbuf();
        if (file.bad())
            return false;
        text = std::move(contents).str();
    }
    catch (const std::bad_alloc&)
    {
        error = kErrorNoMemory;
        return false;
    }
    if (!Parse(text, "10", target) && !Parse(text, "11", target))
        return false;
    error = 0;
    return true;
}

} // namespace TrackFile
