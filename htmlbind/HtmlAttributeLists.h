// The lists that hidden inputs carry: "key:value;..." attribute lists and "value,picture|..." image lists.
#pragma once

#include <map>
#include <string>
#include <string_view>

// Pieces without ":" are ignored; keys and values are trimmed; the first occurrence of a key wins.
std::map<std::string, std::string> ParseHiddenValue(std::string_view text);
// Items without "," are ignored; values and pictures are trimmed; the first occurrence of a value wins.
std::map<std::string, std::string> ParseImageList(std::string_view text);
