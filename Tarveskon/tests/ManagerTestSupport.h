// A copy of the sample data as the program folder, and a window layer that records what it is asked.
#pragma once

#include <Tarveskon/TvskHostUi.h>
#include <Tarveskon/TvskManager.h>

#include <registry/Profile.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tvsk::testing
{

// A fresh program folder holding the sample data, removed with the object. The TK40's script is
// left out unless kept: it runs only where a test registers the script components, and without
// them opening a TK40 session answers 5.
class ProgramFolder
{
public:
    enum class SampleScript
    {
        Left,
        Kept
    };
    explicit ProgramFolder(SampleScript script = SampleScript::Left)
    {
        char pattern[] = "/tmp/tvsk-manager-XXXXXX";
        m_dir = ::mkdtemp(pattern);
        std::filesystem::copy(TVSK_SAMPLE_DATA_DIR, m_dir, std::filesystem::copy_options::recursive);
        if (script == SampleScript::Left)
            Remove("TKSERIES/TK40.vbs");
    }
    ~ProgramFolder() { std::filesystem::remove_all(m_dir); }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::string& Dir() const { return m_dir; }
    std::string Path(const std::string& relative) const { return m_dir + "/" + relative; }
    void Remove(const std::string& relative) const { std::filesystem::remove(Path(relative)); }
    void Append(const std::string& relative, const std::string& text) const
    {
        std::ofstream(Path(relative), std::ios::app) << text;
    }
    void Replace(const std::string& relative, const std::string& from, const std::string& to) const
    {
        std::ifstream in(Path(relative));
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        std::ofstream(Path(relative), std::ios::trunc) << text;
    }

private:
    std::string m_dir;
};

// Records boxes and titles; boxes answer what the test queued (else their first button).
class RecordingUi : public CTvskHeadlessUi
{
public:
    int MessageBox(CWnd* owner, const CString& text, UINT type) override
    {
        boxes.push_back(text.str());
        owners.push_back(owner);
        if (answers.empty())
            return CTvskHeadlessUi::MessageBox(owner, text, type);
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    bool HasActiveWindow() override { return activeWindow; }
    void SetMainWindowTitle(const CString& title) override { this->title = title.str(); }
    void AddToRecentFileList(const char* path) override { recent.push_back(path); }
    bool ChooseSavePath(CString& path) override
    {
        path = savePath.c_str();
        return !savePath.empty();
    }

    std::vector<std::string> boxes;
    std::vector<CWnd*> owners;
    std::vector<int> answers;
    bool activeWindow = true;
    std::vector<std::string> recent;
    std::string title;
    std::string savePath;
};

// Every test starts in language 0 with an empty profile.
inline void ResetProfile()
{
    CProfile::Instance().WriteProfileString("Settings", nullptr, nullptr);
}

} // namespace tvsk::testing
