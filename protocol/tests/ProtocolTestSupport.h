// Stand-ins for the protocol object's surroundings: a port object wired to simulated drives,
// a clock that moves only when slept on, and a warning sink that counts.
#pragma once

#include <protocol/ComPort.h>
#include <protocol/TickClock.h>
#include <protocol/WarningSink.h>

#include <DriveLine.h>

#include <deque>
#include <string>
#include <vector>

class CFakeTickClock : public CTickClock
{
public:
    explicit CFakeTickClock(DWORD start = 1000) : now(start) {}
    DWORD Now() override { return now; }
    void Sleep(DWORD milliseconds) override
    {
        now += milliseconds;
        slept += milliseconds;
    }

    DWORD now;
    DWORD slept = 0;
};

class CCountingSink : public CWarningSink
{
public:
    void ShowWarning(const char* text, const char* caption) override
    {
        texts.emplace_back(text);
        captions.emplace_back(caption);
    }

    std::vector<std::string> texts;
    std::vector<std::string> captions;
};

// A port object whose line is a CDriveLine: what is written reaches the drives at once, their
// replies wait to be read; a read that asks for more than is there fails as a time-out would.
class CFakeLanyard : public tvsk::com::ComObject<ILanyard>
{
public:
    CFakeLanyard(CDriveLine& line, CTickClock& clock) : m_line(line), m_clock(clock) {}

    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT Open(BSTR text) override
    {
        openText = tvsk::com::Utf8FromBstr(text);
        calls.push_back("Open");
        return openSucceeds ? S_OK : E_FAIL;
    }
    HRESULT Close() override
    {
        calls.push_back("Close");
        return S_OK;
    }
    HRESULT Reset() override
    {
        calls.push_back("Reset");
        pending.clear();
        return S_OK;
    }
    HRESULT Lock() override
    {
        calls.push_back("Lock");
        return lockSucceeds ? S_OK : E_FAIL;
    }
    HRESULT Unlock() override
    {
        calls.push_back("Unlock");
        return S_OK;
    }
    HRESULT ReadData(SHORT* buff, LONG len, SHORT to) override
    {
        timeouts.push_back(static_cast<WORD>(to));
        if (static_cast<LONG>(pending.size()) < len)
            return E_FAIL;
        BYTE* bytes = reinterpret_cast<BYTE*>(buff);
        for (LONG i = 0; i < len; ++i)
        {
            bytes[i] = pending.front();
            pending.pop_front();
        }
        return S_OK;
    }
    HRESULT WriteData(SHORT* buff, LONG len) override
    {
        calls.push_back("Write");
        const BYTE* bytes = reinterpret_cast<const BYTE*>(buff);
        writes.emplace_back(bytes, bytes + len);
        writeTimes.push_back(m_clock.Now());
        const std::vector<BYTE> reply = m_line.Receive(writes.back());
        pending.insert(pending.end(), reply.begin(), reply.end());
        return S_OK;
    }
    HRESULT WriteVariantData(VARIANT) override { return E_NOTIMPL; }
    HRESULT ReadVariantData(VARIANT*, LONG) override { return E_NOTIMPL; }
    HRESULT get_ErrorCode(LONG* value) override
    {
        *value = 0;
        return S_OK;
    }
    HRESULT SendVariantMessage(LONG, VARIANT) override { return E_NOTIMPL; }
    HRESULT ReceiveVariantMessage(LONG*, LONG*, VARIANT*, LONG) override { return E_NOTIMPL; }
    HRESULT AddMessageFilter(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT RemMessageFilter(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT RequireMessage(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT ReceiveVariantEvent(LONG*, LONG*, LONG*, VARIANT*, LONG) override { return E_NOTIMPL; }
    HRESULT PutProperty(SHORT, VARIANT) override { return E_NOTIMPL; }
    HRESULT GetProperty(SHORT, VARIANT*) override { return E_NOTIMPL; }

    bool openSucceeds = true;
    bool lockSucceeds = true;
    std::string openText;
    std::vector<std::string> calls;
    std::vector<std::vector<BYTE>> writes;
    std::vector<DWORD> writeTimes;
    std::vector<WORD> timeouts;
    std::deque<BYTE> pending;

private:
    CDriveLine& m_line;
    CTickClock& m_clock;
};

class CFakePortFactory : public CPortObjectFactory
{
public:
    CFakePortFactory(CDriveLine& line, CTickClock& clock) : m_line(line), m_clock(clock) {}
    HRESULT Create(ILanyard** port) override
    {
        if (!creates)
            return E_OUTOFMEMORY;
        last = new CFakeLanyard(m_line, m_clock);
        last->openSucceeds = opens;
        return last->QueryInterface(ILanyard::Iid, reinterpret_cast<void**>(port));
    }

    bool creates = true;
    bool opens = true;
    ComPtr<CFakeLanyard> last;

private:
    CDriveLine& m_line;
    CTickClock& m_clock;
};
