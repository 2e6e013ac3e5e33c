#include "AnimateChart.h"

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <new>

CAnimateTask::CAnimateTask(CAnimationView* view, std::vector<ANIMATION_BLOCK>* blocks)
    : CWndTask(view->GetAnimationWnd(), WM_ANIMATION_UPDATE), m_pView(view), m_pBlocks(blocks)
{
}

CAnimateTask::~CAnimateTask()
{
    StopAndWait();
}

void CAnimateTask::Execute()
{
    DWORD wait = m_nPause;
    while (!IsStopRequested())
    {
        if (wait ? !Sleep(wait) : IsStopRequested())
            break;
        if (!wait)
            std::this_thread::yield();
        CPluginIntf* host = m_pView->GetAnimationHost();
        if (!host || !m_pView->IsAnimationShown())
        {
            wait = IdlePauseMs;
            continue;
        }
        wait = ReadCycle(host) ? m_nPause : FailurePauseMs;
        // Nothing to read: the rails still show their power, a few times a second.
        if (m_pBlocks->empty())
            wait = IdlePauseMs;
        if (IsStopRequested())
            break;
        Msg(nullptr);
    }
}

bool CAnimateTask::ReadCycle(CPluginIntf* host)
{
    for (ANIMATION_BLOCK& block : *m_pBlocks)
    {
        if (IsStopRequested())
            return false;
        double value = 0.0;
        const long param1 =
            static_cast<long>((static_cast<unsigned long>(block.width) << 16) | (block.address & 0xFFFF));
        if (host->SendCommand(HOSTCMD_READADDR, param1, reinterpret_cast<long>(&value)) != HOSTRES_OK)
            return false;
        const auto bits = static_cast<uint32_t>(static_cast<int64_t>(value));
        block.words[0].store(static_cast<uint16_t>(bits & 0xFFFF), std::memory_order_relaxed);
        if (block.width == 32)
            block.words[1].store(static_cast<uint16_t>(bits >> 16), std::memory_order_relaxed);
    }
    return true;
}

CAnimateChart::~CAnimateChart()
{
    StopTask();
}

bool CAnimateChart::AddVariable(const char* operand, int)
{
    unsigned long address = 0;
    unsigned short width = 0;
    unsigned short bit = 0;
    if (!operand || !m_CodeGen.GetDataAddress(operand, address, width, bit) || width != 1 ||
        address > MaxAddress || bit > MaxBit)
        return false;
    WATCH_ENTRY entry;
    entry.address = address;
    entry.width = width;
    entry.bit = bit;
    entry.text = CString(operand).Left(199);
    m_Entries.push_back(std::move(entry));
    return true;
}

void CAnimateChart::BuildBlocks()
{
    m_Blocks.clear();
    auto newBlock = [](unsigned long address, unsigned short width)
    {
        ANIMATION_BLOCK block;
        block.address = address;
        block.width = width == 32 ? 32 : 16;
        return block;
    };
    for (const WATCH_ENTRY& entry : m_Entries)
    {
        const unsigned long a = entry.address;
        bool placed = false;
        for (size_t i = 0; i < m_Blocks.size() && !placed; ++i)
        {
            ANIMATION_BLOCK& block = m_Blocks[i];
            if (block.address == a)
                placed = true;
            else if (a > 0 && block.address == a - 1 && block.width == 32)
                placed = true;
            else if (a > 0 && block.address == a - 1 && block.width == 16 && entry.width <= 16)
            {
                // The next block may start at a + 1: the grown block covers a, it keeps its own.
                block.width = 32;
                placed = true;
            }
            else if (block.address == a + 1 && block.width == 16)
            {
                block.address = a;
                block.width = 32;
                placed = true;
            }
            else if (block.address > a)
            {
                m_Blocks.insert(m_Blocks.begin() + static_cast<std::ptrdiff_t>(i), newBlock(a, entry.width));
                placed = true;
            }
        }
        if (!placed)
            m_Blocks.push_back(newBlock(a, entry.width));
    }
    for (ANIMATION_BLOCK& block : m_Blocks)
    {
        const size_t words = block.width / 16;
        block.words = std::make_unique<std::atomic<uint16_t>[]>(words);
        for (size_t i = 0; i < words; ++i)
            block.words[i].store(0);
    }
    for (WATCH_ENTRY& entry : m_Entries)
    {
        entry.block = -1;
        entry.value = nullptr;
        for (size_t i = 0; i < m_Blocks.size(); ++i)
        {
            const ANIMATION_BLOCK& block = m_Blocks[i];
            const bool holds = entry.width == 32
                                   ? block.address == entry.address
                                   : block.address == entry.address ||
                                         (block.width == 32 && block.address + 1 == entry.address);
            if (holds)
            {
                entry.block = static_cast<int>(i);
                entry.value = &block.words[entry.address - block.address];
                break;
            }
        }
    }
}

CAnimateTask* CAnimateChart::Start()
{
    if (m_pTask)
        return m_pTask.get();
    for (int i = 0; i < m_Names.GetSize(); ++i)
        AddVariable(m_Names[i]);
    BuildBlocks();
    return StartTask() ? m_pTask.get() : nullptr;
}

bool CAnimateChart::StartTask()
{
    if (m_pTask || !m_pView)
        return false;
    try
    {
        m_pTask = std::make_unique<CAnimateTask>(m_pView, &m_Blocks);
    }
    catch (const std::bad_alloc&)
    {
        ProgramError("AnimateChart", __LINE__, "out of memory");
        return false;
    }
    m_pTask->SetWnd(m_pView->GetAnimationWnd(), WM_ANIMATION_UPDATE);
    if (!m_pTask->Start())
    {
        ProgramError("AnimateChart", __LINE__, "worker not started");
        m_pTask.reset();
        return false;
    }
    return true;
}

void CAnimateChart::StopTask()
{
    if (!m_pTask)
        return;
    m_pTask->StopAndWait();
    m_pTask.reset();
}

void CAnimateChart::Clear()
{
    StopTask();
    m_Blocks.clear();
    m_Names.RemoveAll();
    m_Entries.clear();
}

bool CAnimateChart::GetValue(const char* operand, int* value) const
{
    if (!operand || !value)
        return false;
    for (const WATCH_ENTRY& entry : m_Entries)
    {
        if (entry.text != operand)
            continue;
        if (!entry.value)
            return false;
        const uint16_t low = entry.value->load(std::memory_order_relaxed);
        switch (entry.width)
        {
        case 32:
            *value = static_cast<int>(
                low | (static_cast<uint32_t>(entry.value[1].load(std::memory_order_relaxed)) << 16));
            return true;
        case 16:
            *value = low;
            return true;
        case 1:
            *value = (low >> entry.bit) & 1;
            return true;
        default:
            return false;
        }
    }
    return false;
}
