// The built program as the users of one machine start it: root, and another user than the one
// who built it, each with a configuration folder of their own.
#include <Tarveskon/RootSandbox.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

namespace fs = std::filesystem;

constexpr const char* kMachineStore = TVSK_BIN_DIR "/registry";
constexpr const char* kLibraryError = "JyHtml Library Error";
constexpr const char* kEngineRefusesRoot = "Running as root without --no-sandbox is not supported";

struct Account
{
    uid_t uid;
    gid_t gid;
};

struct Started
{
    bool stillRunning = false;
    std::string errors;
};

std::string Text(const fs::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

fs::perms Mode(const fs::path& path)
{
    return fs::status(path).permissions() & fs::perms::all;
}

// A folder that the account owns, removed at the end.
class HomeFolder
{
public:
    explicit HomeFolder(const Account& account)
    {
        char pattern[] = "/tmp/tvsk-user-XXXXXX";
        m_path = ::mkdtemp(pattern);
        EXPECT_EQ(::chown(m_path.c_str(), account.uid, account.gid), 0);
    }
    ~HomeFolder() { fs::remove_all(m_path); }
    const fs::path& Path() const { return m_path; }
    fs::path Store() const { return m_path / ".config" / "MurnApps" / "registry"; }

private:
    fs::path m_path;
};

// The built program on the offscreen platform as the account, with its home, for some seconds;
// the build's own store beside it, none named by the environment. extra: more variables.
Started RunAs(const Account& account, const HomeFolder& home, const std::vector<std::string>& extra = {})
{
    const fs::path errors = home.Path() / "stderr.txt";
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry)
    {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (name != "TARVESKON_REGISTRY" && name != "QTWEBENGINE_DISABLE_SANDBOX" &&
            name != "QTWEBENGINE_CHROMIUM_FLAGS" && name != "HOME" && name.rfind("XDG_", 0) != 0 &&
            name != "QT_QPA_PLATFORM")
            variables.push_back(variable);
    }
    variables.push_back("HOME=" + home.Path().string());
    variables.push_back("XDG_CONFIG_HOME=" + (home.Path() / ".config").string());
    variables.push_back("XDG_CACHE_HOME=" + (home.Path() / ".cache").string());
    variables.push_back("QT_QPA_PLATFORM=offscreen");
    variables.insert(variables.end(), extra.begin(), extra.end());
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0)
    {
        if (::setgroups(0, nullptr) != 0 || ::setgid(account.gid) != 0 || ::setuid(account.uid) != 0 ||
            ::chdir(home.Path().c_str()) != 0 || !std::freopen(errors.c_str(), "w", stderr))
            ::_exit(126);
        ::execle(TVSK_BIN_DIR "/Tarveskon", "Tarveskon", static_cast<char*>(nullptr), envp.data());
        ::_exit(127);
    }
    Started run;
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 120 && !ended; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ended = ::waitpid(child, &status, WNOHANG) == child;
    }
    run.stillRunning = !ended;
    if (!ended)
    {
        ::kill(child, SIGTERM);
        ::waitpid(child, &status, 0);
    }
    run.errors = Text(errors);
    return run;
}

Account Nobody()
{
    const passwd* pw = ::getpwnam("nobody");
    return pw ? Account{pw->pw_uid, pw->pw_gid} : Account{0, 0};
}

// Whether the account reaches the program: a build in a private folder it cannot.
bool Reaches(const Account& account)
{
    const pid_t child = ::fork();
    if (child == 0)
    {
        if (::setgroups(0, nullptr) != 0 || ::setgid(account.gid) != 0 || ::setuid(account.uid) != 0)
            ::_exit(2);
        ::_exit(::access(TVSK_BIN_DIR "/Tarveskon", X_OK) == 0 && ::access(kMachineStore, R_OK) == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(TarveskonUsersTest, AsRootItStartsWithThePageEngineSandboxTurnedOffAndSaysSoOnce)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root";
    HomeFolder home({0, 0});
    const Started run = RunAs({0, 0}, home);
    EXPECT_TRUE(run.stillRunning) << run.errors;
    EXPECT_EQ(Count(run.errors, tvsk::app::kSandboxOffForRoot), 1u) << run.errors;
    EXPECT_EQ(run.errors.find(kEngineRefusesRoot), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find(kLibraryError), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("ProgramError"), std::string::npos) << run.errors;

    // A sandbox turned off by the caller is not told again.
    const Started quiet = RunAs({0, 0}, home, {"QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox"});
    EXPECT_TRUE(quiet.stillRunning) << quiet.errors;
    EXPECT_EQ(quiet.errors.find(tvsk::app::kSandboxOffForRoot), std::string::npos) << quiet.errors;
}

TEST(TarveskonUsersTest, ABuildStartedByAnotherUserShowsItsPagesAndEachUsersSettingsStayTheirs)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to start the program as another user";
    const Account other = Nobody();
    if (other.uid == 0 || !Reaches(other))
        GTEST_SKIP() << "user nobody cannot reach " << TVSK_BIN_DIR << " (a private folder above the tree)";
    // The builder starts it first: what its start registers machine-wide is there before the other user
    // comes.
    HomeFolder builder({0, 0});
    const Started first = RunAs({0, 0}, builder, {"QTWEBENGINE_DISABLE_SANDBOX=1"});
    EXPECT_TRUE(first.stillRunning) << first.errors;
    ASSERT_TRUE(fs::is_regular_file(builder.Store())) << "made at the first start";
    ASSERT_TRUE(fs::is_regular_file(kMachineStore));
    EXPECT_EQ(Mode(kMachineStore), fs::perms(0644)) << "every user reads the registrations";
    const std::string machineBefore = Text(kMachineStore);
    const auto machineTime = fs::last_write_time(kMachineStore);

    HomeFolder home(other);
    const Started run = RunAs(other, home, {"QTWEBENGINE_DISABLE_SANDBOX=1"});
    EXPECT_TRUE(run.stillRunning) << run.errors;
    EXPECT_EQ(run.errors.find(kLibraryError), std::string::npos) << "its pages show: " << run.errors;
    EXPECT_EQ(run.errors.find("ProgramError"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find(tvsk::app::kSandboxOffForRoot), std::string::npos) << "not root";

    // The other user's settings are in that user's folder, for that user alone.
    ASSERT_TRUE(fs::is_regular_file(home.Store())) << "made at the first start";
    struct stat st
    {
    };
    ASSERT_EQ(::stat(home.Store().c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, other.uid);
    EXPECT_EQ(Mode(home.Store()), fs::perms(0600));
    EXPECT_EQ(Mode(home.Store().parent_path()), fs::perms(0700));
    EXPECT_EQ(Mode(builder.Store()), fs::perms(0600));
    EXPECT_EQ(Mode(builder.Store().parent_path()), fs::perms(0700));
    // Nothing of the other user's run landed in the part every user shares.
    EXPECT_EQ(Text(kMachineStore), machineBefore);
    EXPECT_EQ(fs::last_write_time(kMachineStore), machineTime);
}

} // namespace
