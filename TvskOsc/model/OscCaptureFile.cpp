#include <TvskOsc/model/OscCaptureFile.h>

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
    if (end == text)
        return false;
    for (; *end; ++end)
        if (*end != '\r' && *end != ' ')
            return false;
    return true;
}

// Lines before the samples: the header and caption, then one a trace as the header counts them.
size_t HeaderLines(const std::string& first)
{
    const std::vector<std::string> head = Fields(first);
    if (head.size() < 3 || head[0] != "ZO_OSC")
        return 2;
    const long traces = std::strtol(head[2].c_str(), nullptr, 10);
    return 2 + static_cast<size_t>(traces > 0 ? traces : 0);
}

} // namespace

bool ReadOscCapture(const std::string& path, OscCaptureValues& values)
{
    for (std::vector<double>& channel : values)
        channel.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string line;
    size_t skip = 2;
    for (size_t number = 0; std::getline(file, line); ++number)
    {
        if (number == 0)
            skip = HeaderLines(line);
        if (number < skip)
            continue;
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() < values.size() + 1)
            continue;
        std::array<double, COscAcquisition::kChannels> sample{};
        bool numbers = true;
        for (size_t i = 0; i < sample.size() && numbers; ++i)
            numbers = Number(fields[i + 1], sample[i]);
        if (!numbers)
            continue;
        for (size_t i = 0; i < sample.size(); ++i)
            values[i].push_back(sample[i]);
    }
    if (file.bad() || values[0].empty())
    {
        for (std::vector<double>& channel : values)
            channel.clear();
        return false;
    }
    return true;
}
