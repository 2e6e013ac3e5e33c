// CDeviceLinkClient: the program's one drive protocol object, every call serialised, bindable to
// one thread, switchable off, parameter transfers tried twice.
#pragma once

#include "FairLock.h"

#include <protocol/DeviceLink.h>

#include <framework/CString.h>

#include <atomic>
#include <thread>

class CDeviceLinkClient
{
public:
    CDeviceLinkClient();
    virtual ~CDeviceLinkClient();
    CDeviceLinkClient(const CDeviceLinkClient&) = delete;
    CDeviceLinkClient& operator=(const CDeviceLinkClient&) = delete;

    // Every operation first takes the lock, in turn with the other threads that want it; while
    // another thread owns the client, or it is disabled, operations do nothing and answer their
    // failure value. The state queries (IsConnected, IsBlocked, IsOwned, IsInDialog) answer at
    // once, without waiting for another thread's exchange with the drive.

    // Makes a new protocol object (closing the held one first), messages off, and initialises it
    // with settings; false when the object cannot be made or Init fails (the object stays held).
    bool Open(const char* settings);
    // Releases the object, unless another thread owns the client or it is disabled.
    void Close();
    // Runs the protocol object's settings dialog on settings (the held object, else a temporary
    // one); a probe number above 0 is the parameter the dialog reads to test the line. result is
    // the settings chosen, empty when cancelled, unchanged or failed. An object that reports
    // itself inactive afterwards is released. The dialog's loop runs without the lock; meanwhile
    // other threads are blocked and no second dialog opens.
    void Configure(CString& result, const char* settings, int probeNumber, int probeType);
    bool ReadPar(int address, int subindex, int variantType, VARIANT* value);
    // ReadPar with the object's message boxes off and the given reply time-out, or the line's own
    // when that is longer (a reply the line allows is no failure), both put back.
    bool ReadParQuietly(int address, int subindex, int variantType, VARIANT* value, short timeOut);
    bool WritePar(int address, int subindex, int variantType, VARIANT value);
    // 3 while blocked, 12 without an object or when the call fails, else the object's ErrorCode.
    short GetErrorCode();
    long GetMsgOn();
    void SetMsgOn(long on);
    // -1 on failure.
    short GetTimeOut();
    // Values of 0 or less are ignored.
    void SetTimeOut(short milliseconds);
    // Reads what the drive sent, up to count bytes without waiting; the number read, or -1.
    int RawRead(unsigned short count, BYTE* buffer);
    // Binds the client to the calling thread (and enables it).
    bool TakeOwner();
    // Unbinds it (and enables it).
    bool FreeOwner();
    bool IsBlocked();
    // A thread holds the link for a series of transfers (TakeOwner).
    bool IsOwned();
    // Another thread is at the line or waits for its turn (a reader looping on the drive): a call
    // now waits for that thread's exchange first.
    bool IsWantedByAnotherThread() const;
    // Whether binary writes wait for the drive's acknowledgement.
    bool SetWriteAck(bool on);
    // Switches all traffic on or off; answers whether the state changed. Refused while another
    // thread owns the client.
    bool Enable(bool on);
    bool IsModem();

    // Connected: an object is held.
    bool IsConnected();
    // True while the protocol object's dialog runs.
    bool IsInDialog();

private:
    bool Blocked() const;
    bool BoundToAnotherThread() const;
    static ComPtr<IVrnSer> CreateObject();

    // Holds the object or none; written under the lock.
    void SetObject(ComPtr<IVrnSer> object);

    ComPtr<IVrnSer> m_link;
    int m_tries = 2;
    // The state is written under the lock and read without it.
    std::atomic<bool> m_connected = false;
    std::atomic<std::thread::id> m_owner; // default: not bound
    std::atomic<bool> m_enabled = true;
    std::atomic<bool> m_inDialog = false;
    std::atomic<std::thread::id> m_dialogThread; // the thread whose settings dialog runs
    CFairLock m_lock;                            // the dialog's own event loop may call in again
};
