#include <TvskOsc/model/OscCaptureFile.h>

#include <framework/File.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace
{

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;)
    {
        const size_t end = line.find('\t', start);
        fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return fields;
        start = end + 1;
    }
}

// The whole field is a number, a line end after it allowed.
bool Number(const std::string& field, double& value)
{
    const char* text = field.c_str();
    char* end = nullptr;
    value = std::strtod(text, &end);
    if (end == text || !std::isfinite(value))
        return false;
    for (; *end; ++end)
        if (*end != '\r' && *end != ' ')
            return false;
    return true;
}

// Lines before the samples: the header and caption, then one a trace as the header counts them;
// 0 when the first line is no capture header.
size_t HeaderLines(const std::string& first)
{
    const std::vector<std::string> head = Fields(first);
    if (head.size() < 3 || head[0] != "ZO_OSC")
        return 0;
    const long traces = std::strtol(head[2].c_str(), nullptr, 10);
    return traces > 0 && traces <= 64 ? 2 + static_cast<size_t>(traces) : 0;
}

bool ReadSamples(std::istream& file, OscCaptureValues& values)
{
    std::string line;
    size_t skip = 0;
    for (size_t number = 0; std::getline(file, line); ++number)
    {
        // Every line the capture writer makes ends with a line end: without one the file was cut.
        if (file.eof())
            return false;
        if (number == 0 && (skip = HeaderLines(line)) == 0)
            return false;
        if (number < skip || line.empty() || line == "\r")
            continue;
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() < values.size() + 1)
            return false;
        std::array<double, COscAcquisition::kChannels> sample{};
        for (size_t i = 0; i < sample.size(); ++i)
            if (!Number(fields[i + 1], sample[i]))
                return false;
        for (size_t i = 0; i < sample.size(); ++i)
            values[i].push_back(sample[i]);
    }
    return !file.bad() && !values[0].empty();
}

} // namespace

bool ReadOscCapture(const std::string& path, OscCaptureValues& values)
{
    for (std::vector<double>& channel : values)
        channel.clear();
    if (!FitsForReading(path.c_str()))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (file && ReadSamples(file, values))
        return true;
    for (std::vector<double>& channel : values)
        channel.clear();
    return false;
}
