// A growable list of plain values that can keep itself sorted and free of duplicates.
#pragma once

#include <framework/Exceptions.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

template <class T> class CStackEx
{
    static_assert(std::is_trivially_copyable_v<T>, "CStackEx holds plain values");

public:
    CStackEx() = default;
    CStackEx(const CStackEx& other) { CopyFrom(other); }
    CStackEx& operator=(const CStackEx& other)
    {
        if (this != &other)
        {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    ~CStackEx() { RemoveAll(); }

    int GetCount() const { return static_cast<int>(m_nCount); }
    bool IsEmpty() const { return m_nCount == 0; }
    // Entry i; the caller keeps i within 0 to GetCount() - 1.
    const T& operator[](int i) const { return m_pData[i]; }
    const T& GetAt(int i) const { return m_pData[i]; }

    void SetGrowBy(int step) { m_nGrowBy = step > 0 ? step : 1; }
    int GetGrowBy() const { return m_nGrowBy; }
    void SetSorted(bool sorted) { m_bSorted = sorted ? 1 : 0; }
    bool IsSorted() const { return m_bSorted != 0; }
    void SetUnique(bool unique) { m_bUnique = unique ? 1 : 0; }
    bool IsUnique() const { return m_bUnique != 0; }

    // Appends v, or inserts it before the first greater entry when sorted; a unique list
    // ignores a value it already holds.
    void Push(T v)
    {
        if (m_bUnique && Find(v) >= 0)
            return;
        if (static_cast<std::int64_t>(m_nCount) >= m_nMax)
            Grow();
        int at = m_bSorted ? 0 : GetCount();
        while (at < GetCount() && !(v < m_pData[at]))
            ++at;
        std::memmove(m_pData + at + 1, m_pData + at, (m_nCount - static_cast<std::uint32_t>(at)) * sizeof(T));
        m_pData[at] = v;
        ++m_nCount;
    }

    // Takes the last entry off; false when the list is empty.
    bool Pop(T& v)
    {
        if (m_nCount == 0)
            return false;
        v = m_pData[--m_nCount];
        return true;
    }

    // Removes entry i, the later ones moving down; false when i is not an entry.
    bool RemoveAt(int i)
    {
        if (i < 0 || i >= GetCount())
            return false;
        std::memmove(m_pData + i, m_pData + i + 1,
                     (m_nCount - static_cast<std::uint32_t>(i) - 1) * sizeof(T));
        --m_nCount;
        return true;
    }

    // Frees the buffer; count and capacity become 0.
    void RemoveAll()
    {
        std::free(m_pData);
        m_pData = nullptr;
        m_nCount = 0;
        m_nMax = 0;
    }

    // Index of the first entry equal to v, or -1.
    int Find(T v) const
    {
        for (int i = 0; i < GetCount(); ++i)
            if (m_pData[i] == v)
                return i;
        return -1;
    }

private:
    void Grow()
    {
        void* data =
            std::realloc(m_pData, (static_cast<size_t>(m_nMax) + static_cast<size_t>(m_nGrowBy)) * sizeof(T));
        if (!data)
            AfxThrowMemoryException();
        m_pData = static_cast<T*>(data);
        m_nMax += m_nGrowBy;
    }

    void CopyFrom(const CStackEx& other)
    {
        m_nGrowBy = other.m_nGrowBy;
        m_bSorted = other.m_bSorted;
        m_bUnique = other.m_bUnique;
        if (other.m_nCount == 0)
            return;
        m_pData = static_cast<T*>(std::malloc(other.m_nCount * sizeof(T)));
        if (!m_pData)
            AfxThrowMemoryException();
        std::memcpy(m_pData, other.m_pData, other.m_nCount * sizeof(T));
        m_nCount = other.m_nCount;
        m_nMax = static_cast<std::int32_t>(other.m_nCount);
    }

    std::uint32_t m_nCount = 0;
    std::int32_t m_nGrowBy = 200;
    std::int32_t m_nMax = 0;
    std::uint8_t m_bSorted = 0;
    std::uint8_t m_bUnique = 0;
    T* m_pData = nullptr;
};
