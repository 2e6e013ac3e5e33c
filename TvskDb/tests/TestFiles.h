// Temporary folders and small file helpers for the database tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class CTestDir
{
public:
    CTestDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tvskdb-XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~CTestDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CTestDir(const CTestDir&) = delete;
    CTestDir& operator=(const CTestDir&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // Writes text into the file name of this folder and returns its path.
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(File(name), std::ios::binary) << text;
        return File(name);
    }

private:
    std::filesystem::path m_path;
};

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string TestData(const std::string& name) { return std::string(TVSK_TEST_DATA_DIR) + "/" + name; }
inline std::string SampleData(const std::string& name) { return std::string(TVSK_SAMPLE_DATA_DIR) + "/" + name; }
