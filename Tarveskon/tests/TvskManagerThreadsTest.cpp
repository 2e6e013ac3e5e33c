// Plug-in workers' quick reads (code 16) and address reads (code 14) against the user-interface
// thread's use of the monitor list and the last-error text; built with ThreadSanitizer.
#include "ManagerTestSupport.h"

#include <Tarveskon/TvskStrings.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{

using tvsk::testing::ProgramFolder;

long Pointer(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<std::intptr_t>(pointer));
}

TEST(TvskManagerThreadsTest, WorkersAndTheUserInterfaceShareTheMonitorList)
{
    char registry[] = "/tmp/tvsk-threads-XXXXXX";
    ::setenv("TARVESKON_REGISTRY", (std::string(::mkdtemp(registry)) + "/registry").c_str(), 1);
    CProfile::Instance().SetRegistryKey("MurnApps");
    RegisterTvskStrings();
    ProgramFolder folder;
    CTvskManager manager(folder.Dir().c_str());
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    ASSERT_TRUE(manager.AddMonitorPar("Pr33"));
    ASSERT_TRUE(manager.AddMonitorPar("Pr1"));

    std::atomic<bool> stop{false};
    std::vector<std::thread> workers;
    for (const char* name : {"Pr33", "Pr1", "Pr33"})
        workers.emplace_back(
            [&, name]
            {
                while (!stop)
                {
                    // Not connected: every read fails, marks the entry unread and sets the error text.
                    manager.SendCommand(16, Pointer(name), 0);
                    double value = 0;
                    manager.SendCommand(14, (16L << 16) + 2, Pointer(&value));
                }
            });
    CString text;
    for (int i = 0; i < 2000; ++i)
    {
        manager.GetMonitorParField(i % 2, 1, text);
        manager.SetMonitorParField(0, 9, "Corrente");
        manager.GetLastErrorText(text);
        if (i % 100 == 0)
        {
            manager.AddMonitorPar("Pr34");
            manager.RemoveMonitorPar(2);
        }
    }
    stop = true;
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(manager.GetMonitorParNum(), 2);
    manager.GetMonitorParField(0, 1, text);
    EXPECT_EQ(text.str(), "---");
    EXPECT_EQ(manager.SendCommand(6, 0, 0), 0) << "the manager's thread takes up the deferred mode change";
    std::filesystem::remove_all(registry);
}

} // namespace
