// Temporary folders, file helpers and record builders shared by the database tests.
#pragma once

#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskParDbRecords.h>

#include <cstdio>
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
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~CTestDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    CTestDir(const CTestDir&) = delete;
    CTestDir& operator=(const CTestDir&) = delete;

    std::string Path() const { return m_path.string(); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // Writes text into the file name of this folder and returns its path.
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(File(name), std::ios::binary) << text;
        return File(name);
    }

    size_t EntryCount() const
    {
        size_t n = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_path))
            ++n;
        return n;
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

inline std::string TestData(const std::string& name)
{
    return std::string(TVSK_TEST_DATA_DIR) + "/" + name;
}
inline std::string SampleData(const std::string& name)
{
    return std::string(TVSK_SAMPLE_DATA_DIR) + "/" + name;
}

inline DBPAR Par(const char* id, double value, int bits, int scale = 1, int offset = 0)
{
    DBPAR par{};
    std::snprintf(par.szID, sizeof par.szID, "%s", id);
    par.dblDefVal = value;
    par.nBitDim = bits;
    par.nScale = scale;
    par.nOffs = offset;
    return par;
}

inline DBPLC Plc(const char* mnemonic, int a, int b, int c)
{
    DBPLC row{};
    std::snprintf(row.szIstr, sizeof row.szIstr, "%s", mnemonic);
    row.iOperands[0] = a;
    row.iOperands[1] = b;
    row.iOperands[2] = c;
    return row;
}

inline DBSESSVAR Var(const char* name, const char* value, int fromFile = 0)
{
    DBSESSVAR var{};
    std::snprintf(var.szVarName, sizeof var.szVarName, "%s", name);
    std::snprintf(var.szValue, sizeof var.szValue, "%s", value);
    var.bFromFile = fromFile;
    return var;
}
