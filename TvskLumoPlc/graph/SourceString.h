// A growing zero-terminated text buffer that takes whole steps of 4095 bytes at a time.
#pragma once

#include <memory>

class CSourceString
{
public:
    static constexpr int Step = 4095;

    CSourceString();

    // Empty texts are ignored; false while locked or when memory runs out.
    bool Append(const char* text);
    const char* GetData() const noexcept { return m_pData.get(); }
    int GetLength() const noexcept { return m_nLength; }
    int GetCapacity() const noexcept { return m_nCapacity; }
    void Lock(bool locked) noexcept { m_bLocked = locked; }
    bool IsLocked() const noexcept { return m_bLocked; }
    void Empty() noexcept;

private:
    int m_nStep = Step;
    int m_nCapacity;
    int m_nLength = 0;
    bool m_bLocked = false;
    std::unique_ptr<char[]> m_pData;
};
