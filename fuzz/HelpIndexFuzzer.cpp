// The help file's index: loaded beside a few topic pages, then looked up and searched as the help
// window does.
#include <ZoHelp/ZoHelpFile.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{
// A folder of this process with two topic pages, one in a subfolder.
const std::filesystem::path& HelpFolder()
{
    static const std::filesystem::path folder = []
    {
        std::filesystem::path dir = "/tmp/tvsk-fuzz-help-" + std::to_string(::getpid());
        std::filesystem::create_directories(dir / "Pages");
        std::ofstream(dir / "Start.htm") << "<html><body><h1>Getting started</h1>Baud rate</body></html>";
        std::ofstream(dir / "Pages" / "Plc.htm") << "<p>The drive&apos;s PLC &amp; cams</p>";
        return dir;
    }();
    return folder;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::filesystem::path index = HelpFolder() / "Help.chm";
    std::ofstream(index, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    CZoHelpFile help;
    if (help.Load(index.c_str()) != 0)
        return 0;
    if (const ZoHelpTopic* first = help.FindTopic(""))
        help.FindTopic(first->name);
    help.FindContext(1000);
    help.FilterKeywords("");
    help.FilterKeywords("a");
    help.SearchTopics("the drive");
    help.SearchTopics("started");
    return 0;
}
