#include "ParDefaults.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace
{
// An identifier's address: digits after its letters, "a.b" for a bit, "x:a" for an alias.
void ParseIdentifier(const std::string& id, int& address, int& subAddress)
{
    const size_t digit = id.find_first_of("0123456789");
    const std::string rest = digit == std::string::npos ? id : id.substr(digit);
    subAddress = 0;
    if (const size_t dot = rest.find('.'); dot != std::string::npos)
    {
        address = std::atoi(rest.substr(0, dot).c_str());
        subAddress = std::atoi(rest.substr(dot + 1).c_str());
    }
    else if (const size_t colon = rest.find(':'); colon != std::string::npos)
        address = std::atoi(rest.substr(colon + 1).c_str());
    else
        address = std::atoi(rest.c_str());
}

DWORD RawValue(double value, long scale, long offset)
{
    const double raw = std::round(value * static_cast<double>(scale) + static_cast<double>(offset));
    if (!(raw > -2147483648.0))
        return 0x80000000u;
    if (raw >= 4294967295.0)
        return 0xFFFFFFFFu;
    return raw < 0 ? static_cast<DWORD>(static_cast<LONG>(raw)) : static_cast<DWORD>(raw);
}
} // namespace

std::vector<std::string> ParFields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t at = 0;
    while (at < line.size())
    {
        const char c = line[at];
        if (c == ';')
            break;
        if (c == ' ' || c == '\t' || c == '\r')
        {
            ++at;
            continue;
        }
        std::string field;
        if (c == '"')
        {
            for (++at; at < line.size(); ++at)
            {
                if (line[at] != '"')
                    field.push_back(line[at]);
                else if (at + 1 < line.size() && line[at + 1] == '"')
                    field.push_back(line[++at]);
                else
                    break;
            }
            ++at;
        }
        else
            while (at < line.size() && std::string_view(" \t\";\r").find(line[at]) == std::string_view::npos)
                field.push_back(line[at++]);
        fields.push_back(field);
    }
    return fields;
}

bool ReadParDefaults(const char* path, std::vector<ParDefault>& defaults, std::string& error)
{
    std::ifstream file(path);
    if (!file)
    {
        error = std::string("cannot read ") + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(file, line); ++number)
    {
        const std::vector<std::string> fields = ParFields(line);
        if (fields.empty() || (fields[0] != "PAR" && fields[0] != "PARW"))
            continue;
        // Keyword, identifier, mode, access, default, width, scale, offset.
        if (fields.size() < 8)
        {
            error = std::string(path) + ":" + std::to_string(number) +
                    ": a parameter row needs its width and scale";
            return false;
        }
        ParDefault d{};
        ParseIdentifier(fields[1], d.address, d.subAddress);
        d.bitWidth = std::atoi(fields[5].c_str());
        d.raw = RawValue(std::strtod(fields[4].c_str(), nullptr), std::atol(fields[6].c_str()),
                         std::atol(fields[7].c_str()));
        defaults.push_back(d);
    }
    return true;
}

void ApplyParDefaults(const std::vector<ParDefault>& defaults, CSimulatedDrive& drive)
{
    for (const ParDefault& d : defaults)
    {
        if (d.bitWidth == 1)
            drive.SetParameterBit(d.address, d.subAddress & 15, d.raw != 0);
        else
            drive.SetParameter(d.address, d.bitWidth > 16 ? 4 : 2, d.raw);
    }
}
