// The machine's serial ports by number, on a folder laid out as /dev and /sys are.
#include "KernelTestSupport.h"

#include <kernel/SerialPortMap.h>

#include <fstream>

using namespace kerneltest;
namespace fs = std::filesystem;
using tvsk::kernel::ListSerialPorts;
using tvsk::kernel::SerialPortEntry;

class SerialPortListTest : public NamespaceTest
{
protected:
    void SetUp() override
    {
        NamespaceTest::SetUp();
        root = storeDirectory / "root";
        fs::create_directories(root / "dev/serial/by-id");
        fs::create_directories(root / "sys/class/tty");
    }

    // ttyS<n>, with the kernel's UART type (0: no port there).
    void BuiltIn(int index, int type)
    {
        const std::string name = "ttyS" + std::to_string(index);
        fs::create_directories(root / "sys/class/tty" / name);
        std::ofstream(root / "sys/class/tty" / name / "type") << type << "\n";
        std::ofstream(root / "dev" / name).put('\0');
    }
    fs::path Plug(const std::string& name)
    {
        std::ofstream(root / "dev" / name).put('\0');
        return root / "dev" / name;
    }
    std::string Dev(const std::string& name) const { return (root / "dev" / name).string(); }

    std::vector<std::pair<int, std::string>> List() const
    {
        std::vector<std::pair<int, std::string>> ports;
        for (const SerialPortEntry& entry : ListSerialPorts(root.string()))
            ports.emplace_back(entry.port, entry.device);
        return ports;
    }

    fs::path root;
};

using Ports = std::vector<std::pair<int, std::string>>;

TEST_F(SerialPortListTest, BuiltInPortsWithAUartAndStoredDevicesAreListedByNumber)
{
    BuiltIn(0, 4);
    BuiltIn(1, 0);
    BuiltIn(2, 4);
    PseudoTerminal pty;
    MapSerialPort(1, pty.device);
    MapSerialPort(7, Dev("gone"));
    EXPECT_EQ(List(), (Ports{{1, pty.device}, {3, Dev("ttyS2")}}))
        << "a stored device wins over ttyS0; ttyS1 has no UART; a missing device is not offered";
    EXPECT_EQ(tvsk::kernel::SerialDevicePath(1), pty.device);
}

TEST_F(SerialPortListTest, AdaptersTakeTheLowestFreeNumberAndKeepIt)
{
    BuiltIn(0, 4);
    const fs::path usb = Plug("ttyUSB0");
    fs::create_symlink("../../ttyUSB0", root / "dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0");
    const std::string byId = (root / "dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0").string();
    Plug("ttyACM0");
    EXPECT_EQ(List(), (Ports{{1, Dev("ttyS0")}, {2, byId}, {3, Dev("ttyACM0")}}))
        << "an adapter is named by its by-id link";
    EXPECT_EQ(tvsk::kernel::SerialDevicePath(2), byId) << "kept in the store";

    fs::remove(root / "dev/ttyACM0"); // unplugged: its number stays its own
    Plug("ttyUSB1");
    EXPECT_EQ(List(), (Ports{{1, Dev("ttyS0")}, {2, byId}, {4, Dev("ttyUSB1")}}));
    Plug("ttyACM0");
    EXPECT_EQ(List(), (Ports{{1, Dev("ttyS0")}, {2, byId}, {3, Dev("ttyACM0")}, {4, Dev("ttyUSB1")}}))
        << "plugged again, and as after a restart: the same numbers";
}

TEST_F(SerialPortListTest, AnAdapterMappedByHandKeepsItsNumber)
{
    Plug("ttyUSB0");
    MapSerialPort(9, Dev("ttyUSB0"));
    EXPECT_EQ(List(), (Ports{{9, Dev("ttyUSB0")}}));
}
