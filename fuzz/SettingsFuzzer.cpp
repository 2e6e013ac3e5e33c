// Drive settings strings: both parts read; what was read is built again and must read the same.
#include "FuzzInput.h"

#include <protocol/SettingsString.h>

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t hash = text.find('#');
    CDriveSettings settings;
    const bool protocol = ParseProtocolPart(text.substr(0, hash), settings) == 0;
    const bool port = hash != std::string::npos && ParsePortPart(text.substr(hash + 1), settings) == 0;
    if (!protocol || !port)
        return 0;
    const std::string built = BuildProtocolPart(settings) + "#" + BuildPortPart(settings);
    CDriveSettings again;
    const size_t builtHash = built.find('#');
    if (ParseProtocolPart(built.substr(0, builtHash), again) != 0 ||
        ParsePortPart(built.substr(builtHash + 1), again) != 0 ||
        BuildProtocolPart(again) + "#" + BuildPortPart(again) != built)
        std::abort();
    return 0;
}
