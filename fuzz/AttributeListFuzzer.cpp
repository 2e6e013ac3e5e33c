// The attribute lists of hidden inputs and the image lists of page elements.
#include <htmlbind/HtmlAttributeLists.h>

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ParseHiddenValue(text);
    ParseImageList(text);
    return 0;
}
