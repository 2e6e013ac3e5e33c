// The registry store's text: a store that reads is written back to one that reads as the same tree.
#include <registry/RegistryFormat.h>

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace tvsk::registry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RegKey top;
    if (ReadStoreText(std::string(reinterpret_cast<const char*>(data), size), top))
        return 0;
    const std::string written = WriteStoreText(top);
    RegKey again;
    if (ReadStoreText(written, again) || WriteStoreText(again) != written)
        std::abort();
    return 0;
}
