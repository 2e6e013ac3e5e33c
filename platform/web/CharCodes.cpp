#include "CharCodes.h"

#include <cstdlib>

namespace tvsk::web
{

char CharTokenToChar(std::string_view token)
{
    if (!token.empty() && token.front() == '%')
        token.remove_prefix(1);
    const std::string number = "0x" + std::string(token.substr(0, 2));
    return static_cast<char>(std::strtol(number.c_str(), nullptr, 0) & 0xFF);
}

std::string ProcessCharCodes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '%' && i + 2 < text.size())
        {
            out += CharTokenToChar(text.substr(i, 3));
            i += 2;
        }
        else
            out += text[i];
    }
    return out;
}

} // namespace tvsk::web
