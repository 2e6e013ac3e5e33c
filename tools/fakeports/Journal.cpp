// Appends whole lines, so processes that share the file do not mix their lines.
#include "Journal.h"

#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace fakeports
{

void JournalLine(const std::string& line)
{
    const char* path = std::getenv("TVSK_FAKE_PORT_LOG");
    if (!path)
        return;
    const int file = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (file < 0)
        return;
    const std::string text = line + "\n";
    const ssize_t written = ::write(file, text.data(), text.size());
    ::close(file);
    (void)written; // a fake server has nobody to report a lost journal line to
}

} // namespace fakeports
