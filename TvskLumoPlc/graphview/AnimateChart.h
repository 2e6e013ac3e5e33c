// Live animation engine of the ladder view: the watched bit operands, the blocks of drive words
// that hold them, and the worker that reads the blocks through the host over and over.
#pragma once

#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoSupport/WndTask.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class CPluginIntf;

// Message posted to the view after each read cycle.
constexpr UINT WM_ANIMATION_UPDATE = 1025;

// What the engine needs of the view it animates; the worker calls only the two queries.
class CAnimationView
{
public:
    virtual ~CAnimationView() = default;
    virtual CWnd* GetAnimationWnd() = 0;
    // Thread-safe: read by the worker.
    virtual CPluginIntf* GetAnimationHost() const = 0;
    virtual bool IsAnimationShown() const = 0;
};

// One run of drive words read by one host command: 16 bits (word A) or 32 (words A and A+1).
struct ANIMATION_BLOCK
{
    unsigned long address = 0;
    unsigned short width = 16;
    // Written by the worker, read by the window thread: word A first, then word A+1.
    std::unique_ptr<std::atomic<uint16_t>[]> words;
};

struct WATCH_ENTRY
{
    unsigned long address = 0;
    unsigned short width = 1;
    unsigned short bit = 0;
    int block = -1;
    // The entry's first word inside its block.
    std::atomic<uint16_t>* value = nullptr;
    CString text;
};

class CAnimateTask : public CWndTask
{
public:
    static constexpr DWORD FailurePauseMs = 1500;
    // While the view is hidden or has no host: a look now and then, no reads.
    static constexpr DWORD IdlePauseMs = 200;

    CAnimateTask(CAnimationView* view, std::vector<ANIMATION_BLOCK>* blocks);
    ~CAnimateTask() override;

protected:
    void Execute() override;

private:
    // false when a block could not be read.
    bool ReadCycle(CPluginIntf* host);

    DWORD m_nPause = 0;
    CAnimationView* m_pView;
    std::vector<ANIMATION_BLOCK>* m_pBlocks;
};

class CAnimateChart
{
public:
    // Operands beyond the host command's 16 address bits or a word's 16 bits are not watched.
    static constexpr unsigned long MaxAddress = 0xFFFF;
    static constexpr unsigned short MaxBit = 15;

    CAnimateChart() = default;
    CAnimateChart(const CAnimateChart&) = delete;
    CAnimateChart& operator=(const CAnimateChart&) = delete;
    virtual ~CAnimateChart();

    // Watches a bit operand ("word.bit"); others are ignored. True when watched.
    virtual bool AddVariable(const char* operand, int unused = 0);
    // Watches the name list and starts the worker; the running worker when there is one.
    virtual CAnimateTask* Start();
    virtual void SetView(CAnimationView* view) { m_pView = view; }
    // Stops the worker and forgets every block, name and entry.
    virtual void Clear();
    virtual bool GetValue(const char* operand, int* value) const;
    virtual bool IsRunning() const { return m_pTask != nullptr; }
    virtual bool StartTask();
    virtual void StopTask();
    virtual void BuildBlocks();

    CStringArray& GetNameList() noexcept { return m_Names; }
    const std::vector<ANIMATION_BLOCK>& GetBlocks() const noexcept { return m_Blocks; }
    const std::vector<WATCH_ENTRY>& GetEntries() const noexcept { return m_Entries; }

private:
    CStringArray m_Names;
    CAnimationView* m_pView = nullptr;
    std::vector<ANIMATION_BLOCK> m_Blocks;
    std::vector<WATCH_ENTRY> m_Entries;
    CLumoPlcCodeGen m_CodeGen;
    std::unique_ptr<CAnimateTask> m_pTask;
};
