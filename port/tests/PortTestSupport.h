// A pseudo-terminal mapped as a serial port, client processes and the server's end, for the port tests.
#pragma once

#include <KernelTestSupport.h>

#include <kernel/FileMapping.h>
#include <kernel/Process.h>

namespace porttest
{

class PortTest : public kerneltest::NamespaceTest
{
protected:
    static constexpr unsigned char Port = 7;

    void SetUp() override
    {
        NamespaceTest::SetUp();
        // The tests run from their own directory; the server stands beside the programs.
        setenv("TARVESKON_PROGRAM_DIR", TVSK_BIN_DIR, 1);
        ASSERT_FALSE(pty.device.empty());
        kerneltest::MapSerialPort(Port, pty.device);
    }

    static PROCESS_INFORMATION StartClient(const std::string& mode, const std::string& more = "")
    {
        PROCESS_INFORMATION info;
        const std::string commandLine = "port_test_client " + mode + " " + std::to_string(Port) + " " + more;
        EXPECT_TRUE(CreateProcess(PORT_TEST_CLIENT, commandLine.c_str(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, nullptr, &info));
        return info;
    }

    // The server of the port, found through the identifier left for the clients.
    static DWORD ServerId()
    {
        HANDLE mapping = OpenFileMapping(FILE_MAP_READ, FALSE, ("COM.PID" + std::to_string(Port)).c_str());
        if (!mapping)
            return 0;
        const auto* id = static_cast<const DWORD*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
        const DWORD found = id ? *id : 0;
        UnmapViewOfFile(id);
        CloseHandle(mapping);
        return found;
    }
    static HANDLE ServerProcess() { return OpenProcess(SYNCHRONIZE, FALSE, ServerId()); }

    bool NothingLeftWithin(int milliseconds) const
    {
        for (int waited = 0; waited < milliseconds; waited += 20)
        {
            if (LeftObjects().empty())
                return true;
            Sleep(20);
        }
        return LeftObjects().empty();
    }

    kerneltest::PseudoTerminal pty;
};

} // namespace porttest
