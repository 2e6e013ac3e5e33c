// The whole chain of real processes: the protocol object and the port component registered into a
// store of their own, Porthaven, and drivesim on a pseudo-terminal mapped as serial port 7.
#pragma once

#include <protocol/DeviceLink.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

// Starts a program with the given arguments and this process's environment; -1 when it could not.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments);
// Waits for the program's end; its exit code, or -1 when it did not exit normally.
int ExitCodeOf(pid_t pid);

class CDriveChain
{
public:
    static constexpr int Port = 7;

    // Gives this process a namespace of named objects and a registry store of its own (named
    // after label) and registers the port component and the protocol object into the store.
    explicit CDriveChain(const std::string& label);
    ~CDriveChain();
    CDriveChain(const CDriveChain&) = delete;
    CDriveChain& operator=(const CDriveChain&) = delete;

    // What went wrong in the constructor or the last StartDrive; empty when nothing did.
    const std::string& Error() const { return m_error; }

    // Starts drivesim with the parameter defaults of the sample TK20 drive and the options, and
    // points the serial port at its terminal.
    bool StartDrive(const std::vector<std::string>& options = {});
    // Ends drivesim; the exit code it ended with.
    int StopDrive();

    // A protocol object made through the component model, boxes off, initialised with settings
    // (null when it cannot be made); hr receives Init's result.
    ComPtr<IVrnSer> CreateLink(const std::string& settings, HRESULT& hr) const;

    // Files of named objects of this chain's namespace still in /dev/shm.
    std::vector<std::string> LeftObjects() const;
    // Whether, once the last protocol object is gone, the named objects went and the port server
    // ended (and was collected) within the time.
    bool NothingLeftWithin(int milliseconds) const;

    const std::string& Namespace() const { return m_namespace; }

private:
    bool Register(const char* component);
    bool MapSerialPort(const std::string& device);
    // Notes the port server's process id its first client left.
    void NoteServer() const;

    std::string m_namespace;
    std::filesystem::path m_directory;
    std::string m_link;
    pid_t m_drive = -1;
    mutable pid_t m_server = -1;
    bool m_comInitialised = false;
    std::string m_error;
};

// Writes control lines ("set 33 300\n") to drivesim's control pipe and waits until drivesim has
// taken them all: every request it serves from then on sees them. False when the pipe cannot be
// opened or drivesim has not read it within the time.
bool SendDriveControl(const std::string& pipe, const std::string& lines, int timeoutMs = 60000);

// The lines of drivesim's journal, and how many of them begin with the prefix ("write 33 ").
std::vector<std::string> JournalLines(const std::string& path);
size_t JournalCount(const std::string& path, const std::string& prefix);

// A reply time-out for tests whose drivesim must answer: drivesim shares a loaded machine's
// processors with everything else (a real drive does not), so its reply may come far later than
// a real line's time-out allows. Tests of a silent drive keep a short one.
constexpr int kPatientReplyTimeOut = 5000;

// The settings string of a link to the drive at address over the chain's port.
std::string ChainSettings(int address, int timeOut = 200);
