// tvsk_regsvr [-u] <component library>: runs the library's DllRegisterServer (or DllUnregisterServer).
#include <com/ComRuntime.h>
#include <kernel/SharedLibrary.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const bool unregister = argc == 3 && std::strcmp(argv[1], "-u") == 0;
    if (argc != 2 && !unregister)
    {
        std::fprintf(stderr, "usage: tvsk_regsvr [-u] <component library>\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    CSharedLibrary library;
    if (!library.Open(path))
    {
        std::fprintf(stderr, "tvsk_regsvr: %s\n", library.Error().c_str());
        return 1;
    }
    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = reinterpret_cast<DllRegisterServerFunction>(library.Symbol(entryName));
    if (!entry)
    {
        std::fprintf(stderr, "tvsk_regsvr: %s has no %s\n", path, entryName);
        return 1;
    }
    const HRESULT hr = entry();
    if (FAILED(hr))
    {
        std::fprintf(stderr, "tvsk_regsvr: %s of %s failed with 0x%08X\n", entryName, path,
                     static_cast<unsigned>(hr));
        return 1;
    }
    return 0;
}
