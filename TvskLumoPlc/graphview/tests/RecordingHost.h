// A host that answers drive reads from a word table and logs every call with its thread.
#pragma once

#include <Tarveskon/PluginIntf.h>
#include <com/Variant.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class RecordingHost : public CPluginIntf
{
public:
    struct Call
    {
        unsigned width;
        unsigned address;
        std::thread::id thread;
    };

    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }

    long SendCommand(UINT code, long param1, long param2) override
    {
        if (code != 14)
            return HOSTRES_NOTAVAIL;
        const unsigned width = static_cast<unsigned>(param1) >> 16;
        const unsigned address = static_cast<unsigned>(param1) & 0xFFFF;
        std::lock_guard guard(m_lock);
        m_calls.push_back({width, address, std::this_thread::get_id()});
        if (failing)
            return HOSTRES_READERR;
        // A 32-bit read answers word A in the low half and word A+1 in the high half.
        double value = m_words[address];
        if (width == 32)
            value += 65536.0 * m_words[address + 1];
        *reinterpret_cast<double*>(param2) = value;
        return HOSTRES_OK;
    }

    void Set(unsigned word, unsigned value)
    {
        std::lock_guard guard(m_lock);
        m_words[word] = value;
    }
    std::vector<Call> Calls()
    {
        std::lock_guard guard(m_lock);
        return m_calls;
    }
    void ClearCalls()
    {
        std::lock_guard guard(m_lock);
        m_calls.clear();
    }

    std::atomic<bool> failing{false};

private:
    std::mutex m_lock;
    std::map<unsigned, unsigned> m_words;
    std::vector<Call> m_calls;
};
