// Unique IPC namespace per test, helper processes and pseudo-terminals for the kernel tests.
#pragma once

#include <kernel/Kernel.h>
#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

namespace kerneltest
{

// Gives every test its own namespace of named objects and its own registry store.
class NamespaceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        space = "k" + std::to_string(getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name();
        setenv("TARVESKON_IPC_NAMESPACE", space.c_str(), 1);
        storeDirectory = std::filesystem::temp_directory_path() / ("tvsk_" + space);
        std::filesystem::create_directories(storeDirectory);
        setenv("TARVESKON_REGISTRY", (storeDirectory / "registry").c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(storeDirectory, ignored);
        // A process the test killed never closed its objects; nothing else ever reclaims them here.
        for (const std::string& name : LeftObjects())
            std::filesystem::remove(std::filesystem::path("/dev/shm") / name, ignored);
        EXPECT_EQ(LeftObjects(), std::vector<std::string>{});
    }

    // Files of named objects of this test's namespace still in /dev/shm.
    std::vector<std::string> LeftObjects() const
    {
        std::vector<std::string> left;
        const std::string prefix = "tvsk." + std::to_string(getuid()) + "." + space + ".";
        for (const auto& entry : std::filesystem::directory_iterator("/dev/shm"))
        {
            if (entry.path().filename().string().rfind(prefix, 0) == 0)
                left.push_back(entry.path().filename().string());
        }
        return left;
    }

    std::string space;
    std::filesystem::path storeDirectory;
};

inline DWORD ExitCodeAfterEnd(HANDLE process, DWORD milliseconds = 5000)
{
    EXPECT_EQ(WaitForSingleObject(process, milliseconds), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(process, &code));
    return code;
}

// A pseudo-terminal whose device another side opens as a serial port; this side is the far end.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            device = ptsname(master);
    }
    ~PseudoTerminal()
    {
        if (master >= 0)
            close(master);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Reads count bytes, or what came until the milliseconds passed.
    std::string Read(size_t count, int milliseconds = 2000) const
    {
        std::string bytes;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (bytes.size() < count)
        {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd descriptor = {master, POLLIN, 0};
            if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0)
                break;
            char chunk[256];
            const ssize_t n = read(master, chunk, std::min(sizeof chunk, count - bytes.size()));
            if (n <= 0)
                break;
            bytes.append(chunk, static_cast<size_t>(n));
        }
        return bytes;
    }
    void Write(const std::string& bytes) const
    {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    int master = -1;
    std::string device;
};

// Maps serial port n to the device in the test's registry store.
inline void MapSerialPort(int port, const std::string& device)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\SerialPorts", 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string valueName = "COM" + std::to_string(port);
    EXPECT_EQ(RegSetValueEx(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(device.c_str()),
                            static_cast<DWORD>(device.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

} // namespace kerneltest
