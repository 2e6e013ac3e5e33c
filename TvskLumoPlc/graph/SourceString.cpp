#include "SourceString.h"

#include <ZoSupport/ZoSupport.h>

#include <cstring>
#include <new>

CSourceString::CSourceString() : m_nCapacity(Step), m_pData(new char[Step + 1]()) {}

bool CSourceString::Append(const char* text)
{
    if (!text || !*text)
        return true;
    if (m_bLocked)
        return false;
    const int length = static_cast<int>(std::strlen(text));
    if (m_nLength + length > m_nCapacity)
    {
        const int capacity = m_nCapacity + (length / m_nStep + 1) * m_nStep;
        char* grown = new (std::nothrow) char[static_cast<size_t>(capacity) + 1]();
        if (!grown)
        {
            ProgramError("SourceString", __LINE__, "out of memory");
            return false;
        }
        std::memcpy(grown, m_pData.get(), static_cast<size_t>(m_nLength));
        m_pData.reset(grown);
        m_nCapacity = capacity;
    }
    std::memcpy(m_pData.get() + m_nLength, text, static_cast<size_t>(length));
    m_nLength += length;
    m_pData[static_cast<size_t>(m_nLength)] = '\0';
    return true;
}

void CSourceString::Empty() noexcept
{
    m_nLength = 0;
    m_pData[0] = '\0';
}
