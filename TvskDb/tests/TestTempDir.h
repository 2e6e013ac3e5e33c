// A private temporary folder per test, removed with its contents afterwards.
#pragma once

#include <filesystem>
#include <stdlib.h>
#include <string>

class CTestTempDir
{
public:
    CTestTempDir()
    {
        char pattern[] = "/tmp/tvskdb_test_XXXXXX";
        const char* dir = ::mkdtemp(pattern);
        m_path = dir ? dir : "";
    }
    ~CTestTempDir()
    {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    CTestTempDir(const CTestTempDir&) = delete;
    CTestTempDir& operator=(const CTestTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const char* name) const { return m_path + "/" + name; }
    size_t EntryCount() const
    {
        size_t n = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_path)) ++n;
        return n;
    }

private:
    std::string m_path;
};
