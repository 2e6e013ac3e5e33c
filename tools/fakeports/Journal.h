// What a fake server was asked, one line per event, in the file TVSK_FAKE_PORT_LOG names.
#pragma once

#include <string>

namespace fakeports
{

// Without TVSK_FAKE_PORT_LOG nothing is written.
void JournalLine(const std::string& line);

} // namespace fakeports
