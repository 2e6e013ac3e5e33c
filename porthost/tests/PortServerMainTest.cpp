// The servers' program: start-up exclusion, a server that does not open, the worker and the
// headless timer up to the server's end.
#include <PortServerMain.h>

#include <KernelTestSupport.h>

#include <kernel/Sync.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

namespace
{

constexpr const char* kStartupMutex = "TEST.SERVER.MTX";

class FakeServerProgram : public CPortServerMain
{
public:
    FakeServerProgram() : CPortServerMain("FakeServer", kStartupMutex) {}

    bool opens = true;
    std::string portArgument = "<none>";
    std::atomic<bool> worked = false;
    std::atomic<bool> ended = false;
    bool windowShown = false;

private:
    bool Open(const char* argument, BYTE& port) override
    {
        portArgument = argument ? argument : "<none>";
        port = 4;
        return opens;
    }
    void Work() override
    {
        worked = true;
        ended = true;
    }
    void ShowWindow(BYTE) override { windowShown = true; }
    bool Ended() const override { return ended; }
    int ExitCode() override { return 7; }
};

class PortServerMainTest : public kerneltest::NamespaceTest
{
protected:
    void SetUp() override
    {
        NamespaceTest::SetUp();
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
    }
    int Run(FakeServerProgram& program, const char* port)
    {
        char name[] = "server";
        std::string portText = port ? port : "";
        char* argv[] = {name, portText.data(), nullptr};
        return program.Run(port ? 2 : 1, argv);
    }
};

TEST_F(PortServerMainTest, HeadlessRunEndsWhenTheServerHasEndedWithItsExitCode)
{
    FakeServerProgram program;
    EXPECT_EQ(Run(program, "3"), 7);
    EXPECT_EQ(program.portArgument, "3");
    EXPECT_TRUE(program.worked);
    EXPECT_FALSE(program.windowShown) << "no display";
}

TEST_F(PortServerMainTest, AServerThatDoesNotOpenEndsTheProgramWithTwo)
{
    FakeServerProgram program;
    program.opens = false;
    EXPECT_EQ(Run(program, nullptr), 2);
    EXPECT_EQ(program.portArgument, "<none>");
    EXPECT_FALSE(program.worked);
}

TEST_F(PortServerMainTest, AnotherServerStartingMeanwhileEndsTheProgramWithOne)
{
    HANDLE starting = CreateMutex(nullptr, FALSE, kStartupMutex);
    ASSERT_NE(starting, nullptr);
    FakeServerProgram program;
    EXPECT_EQ(Run(program, "3"), 1);
    EXPECT_EQ(program.portArgument, "<none>") << "nothing opened";
    CloseHandle(starting);
    EXPECT_EQ(Run(program, "3"), 7);
}

} // namespace
