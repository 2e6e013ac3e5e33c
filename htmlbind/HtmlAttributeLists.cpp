#include "HtmlAttributeLists.h"

#include <cctype>

namespace
{

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Splits at every separator, each piece at its first divider, and keeps the first of each key.
std::map<std::string, std::string> ParsePairs(std::string_view text, char separator, char divider)
{
    std::map<std::string, std::string> pairs;
    while (!text.empty())
    {
        const size_t end = text.find(separator);
        const std::string_view piece = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const size_t at = piece.find(divider);
        if (at == std::string_view::npos)
            continue;
        pairs.emplace(Trim(piece.substr(0, at)), Trim(piece.substr(at + 1)));
    }
    return pairs;
}

} // namespace

std::map<std::string, std::string> ParseHiddenValue(std::string_view text)
{
    return ParsePairs(text, ';', ':');
}

std::map<std::string, std::string> ParseImageList(std::string_view text)
{
    return ParsePairs(text, '|', ',');
}
