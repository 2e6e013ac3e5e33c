// Port kinds against the fake servers: a namespace of their own per test, and the servers' journal.
#pragma once

#include <KernelTestSupport.h>

#include <kernel/FileMapping.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace porttest
{

class FakeServerTest : public kerneltest::NamespaceTest
{
protected:
    void SetUp() override
    {
        NamespaceTest::SetUp();
        setenv("TARVESKON_PROGRAM_DIR", FAKE_PORT_DIR, 1);
        journal = std::filesystem::temp_directory_path() / (space + ".journal");
        std::filesystem::remove(journal);
        setenv("TVSK_FAKE_PORT_LOG", journal.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove(journal); }

    std::vector<std::string> Journal() const
    {
        std::vector<std::string> lines;
        std::ifstream file(journal);
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        return lines;
    }
    bool Noted(const std::string& line) const
    {
        const auto lines = Journal();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static bool ObjectExists(const std::string& name)
    {
        HANDLE mapping = OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str());
        if (mapping)
            CloseHandle(mapping);
        return mapping != nullptr;
    }

    std::filesystem::path journal;
};

} // namespace porttest
