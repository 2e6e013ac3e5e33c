#include "DriveChain.h"

#include <kernel/FileMapping.h>
#include <registry/Registry.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> args{program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

int ExitCodeOf(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::vector<std::string> JournalLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

size_t JournalCount(const std::string& path, const std::string& prefix)
{
    size_t count = 0;
    for (const std::string& line : JournalLines(path))
        count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

bool SendDriveControl(const std::string& pipe, const std::string& lines, int timeoutMs)
{
    const int fd = ::open(pipe.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = ::write(fd, lines.data(), lines.size()) == static_cast<ssize_t>(lines.size());
    // drivesim reads the pipe and applies what it read before it serves the next request.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int unread = 0;
    while (written && ::ioctl(fd, FIONREAD, &unread) == 0 && unread > 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    written = written && unread == 0;
    ::close(fd);
    return written;
}

std::string ChainSettings(int address, int timeOut)
{
    return "VrnSer:" + std::to_string(address) + "," + std::to_string(timeOut) +
           "#COM:" + std::to_string(CDriveChain::Port) + ",9600,E,8,1";
}

CDriveChain::CDriveChain(const std::string& label)
    : m_namespace("e2e" + std::to_string(::getpid()) + "_" + label),
      m_directory(fs::temp_directory_path() / ("tvsk_" + m_namespace))
{
    fs::create_directories(m_directory);
    m_link = (m_directory / "ttyDrive").string();
    ::setenv("TARVESKON_IPC_NAMESPACE", m_namespace.c_str(), 1);
    ::setenv("TARVESKON_REGISTRY", (m_directory / "registry").c_str(), 1);
    // Porthaven stands beside the programs, not beside the test.
    ::setenv("TARVESKON_PROGRAM_DIR", TVSK_BIN_DIR, 1);
    if (!Register(LANYARD_COMPONENT) || !Register(VRNSER_COMPONENT))
        return;
    m_comInitialised = CoInitialize(nullptr) == S_OK;
    if (!m_comInitialised)
        m_error = "the component model did not start";
}

CDriveChain::~CDriveChain()
{
    // A server outliving this process would be left to a parent that may never collect it.
    NothingLeftWithin(3000);
    StopDrive();
    if (m_comInitialised)
        CoUninitialize();
    std::error_code ignored;
    fs::remove_all(m_directory, ignored);
}

bool CDriveChain::Register(const char* component)
{
    if (std::system((std::string(TVSK_REGSVR) + " " + component).c_str()) == 0)
        return true;
    m_error = std::string("cannot register ") + component;
    return false;
}

bool CDriveChain::StartDrive(const std::vector<std::string>& options)
{
    std::vector<std::string> arguments{"--link", m_link, "--par", TVSK_SAMPLE_DATA_DIR "/TK20/TK20.par"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    m_drive = StartProgram(DRIVESIM, arguments);
    if (m_drive < 0)
    {
        m_error = "cannot start drivesim";
        return false;
    }
    // Generous: a loaded machine may take seconds to start a program.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(m_link) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!fs::exists(m_link))
    {
        m_error = "drivesim published no terminal";
        return false;
    }
    return MapSerialPort(m_link);
}

int CDriveChain::StopDrive()
{
    if (m_drive < 0)
        return 0;
    ::kill(m_drive, SIGTERM);
    const int code = ExitCodeOf(m_drive);
    m_drive = -1;
    return code;
}

bool CDriveChain::MapSerialPort(const std::string& device)
{
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\SerialPorts", 0, nullptr, 0, KEY_ALL_ACCESS,
                       nullptr, &key, nullptr) != ERROR_SUCCESS)
    {
        m_error = "cannot create the serial port map";
        return false;
    }
    const std::string valueName = "COM" + std::to_string(Port);
    const LONG rc =
        RegSetValueEx(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(device.c_str()),
                      static_cast<DWORD>(device.size() + 1));
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        m_error = "cannot map the serial port";
    return rc == ERROR_SUCCESS;
}

ComPtr<IVrnSer> CDriveChain::CreateLink(const std::string& settings, HRESULT& hr) const
{
    ComPtr<IVrnSer> link;
    CLSID clsid{};
    hr = CLSIDFromProgID(u"VrnSer.VrnSer.1", &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IVrnSer::Iid,
                              reinterpret_cast<void**>(link.Receive()));
    if (FAILED(hr))
        return ComPtr<IVrnSer>();
    link->put_MsgOn(0);
    BSTR text = tvsk::com::BstrFromUtf8(settings.c_str());
    hr = link->Init(text);
    SysFreeString(text);
    NoteServer();
    return link;
}

void CDriveChain::NoteServer() const
{
    if (m_server > 0)
        return;
    HANDLE mapping = OpenFileMapping(FILE_MAP_READ, FALSE, ("COM.PID" + std::to_string(Port)).c_str());
    if (!mapping)
        return;
    const auto* id = static_cast<const DWORD*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    if (id && *id != 0)
        m_server = static_cast<pid_t>(*id);
    UnmapViewOfFile(id);
    CloseHandle(mapping);
}

std::vector<std::string> CDriveChain::LeftObjects() const
{
    std::vector<std::string> left;
    const std::string prefix = "tvsk." + std::to_string(::getuid()) + "." + m_namespace + ".";
    for (const auto& entry : fs::directory_iterator("/dev/shm"))
    {
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            left.push_back(entry.path().filename().string());
    }
    return left;
}

bool CDriveChain::NothingLeftWithin(int milliseconds) const
{
    // The server is this process's child: the port client collects it once it has ended.
    const auto nothingLeft = [this]
    { return LeftObjects().empty() && (m_server <= 0 || ::kill(m_server, 0) != 0); };
    for (int waited = 0; waited < milliseconds; waited += 20)
    {
        if (nothingLeft())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nothingLeft();
}
