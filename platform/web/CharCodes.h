// Decoding of the %XX character codes in addresses the browser hands over.
#pragma once

#include <string>
#include <string_view>

namespace tvsk::web
{

// Each "%" and the two characters after it become one character; a "%" with fewer than two
// characters after it is kept as it is, with what follows.
std::string ProcessCharCodes(std::string_view text);
// A token "%XX": the low byte of XX read as a hexadecimal number (0 when it is not one).
char CharTokenToChar(std::string_view token);

} // namespace tvsk::web
