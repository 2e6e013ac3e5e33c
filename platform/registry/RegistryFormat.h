// Text form of the registry store: one "[root\key\...]" header per key, then its values.
#pragma once

#include "RegistryTree.h"

#include <optional>
#include <string>

namespace tvsk::registry
{

struct FormatError
{
    int line = 0;
    std::string text;
};

// The tree's first level holds the root names (HKEY_CURRENT_USER ...).
std::string WriteStoreText(const RegKey& top);
// Fills top (expected empty) from text; the error names the first bad line.
std::optional<FormatError> ReadStoreText(const std::string& text, RegKey& top);

} // namespace tvsk::registry
