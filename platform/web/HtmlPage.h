// HTML files parsed in-process into page documents, frames included, as a browser would load them.
#pragma once

#include "DomDocument.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tvsk::web
{

// Frames are loaded from files relative to baseDir (none when it is empty), at most this deep.
constexpr int kMaxFrameDepth = 4;
// Larger files are refused rather than read into memory.
constexpr std::uintmax_t kMaxPageBytes = 16u * 1024 * 1024;

std::unique_ptr<DomDocument> ParseHtmlPage(std::string_view html, std::string url,
                                           const std::filesystem::path& baseDir = {});

// Null with *error set when the file cannot be read.
std::unique_ptr<DomDocument> LoadHtmlPage(const std::filesystem::path& file, std::string* error = nullptr);

} // namespace tvsk::web
