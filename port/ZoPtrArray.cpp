// Pointer array with exact-size buffers.
#include "ZoPtrArray.h"

#include <algorithm>
#include <new>

CZoPtrArray::CZoPtrArray(const CZoPtrArray& other)
{
    *this = other;
}

CZoPtrArray& CZoPtrArray::operator=(const CZoPtrArray& other)
{
    if (this == &other)
        return *this;
    void** copy = other.m_count > 0 ? new void*[static_cast<unsigned long>(other.m_count)] : nullptr;
    std::copy(other.m_elements, other.m_elements + other.m_count, copy);
    RemoveAll();
    m_elements = copy;
    m_count = other.m_count;
    return *this;
}

int CZoPtrArray::Add(void* element)
{
    void** grown = new (std::nothrow) void*[static_cast<unsigned long>(m_count) + 1]();
    if (!grown)
        return 0;
    std::copy(m_elements, m_elements + m_count, grown);
    grown[m_count] = element;
    delete[] m_elements;
    m_elements = grown;
    ++m_count;
    return 1;
}

int CZoPtrArray::Remove(long index)
{
    if (!Inside(index))
        return 0;
    void** shrunk = m_count > 1 ? new void*[static_cast<unsigned long>(m_count) - 1] : nullptr;
    std::copy(m_elements, m_elements + index, shrunk);
    std::copy(m_elements + index + 1, m_elements + m_count, shrunk + index);
    delete[] m_elements;
    m_elements = shrunk;
    --m_count;
    return 1;
}

void CZoPtrArray::RemoveAll()
{
    delete[] m_elements;
    m_elements = nullptr;
    m_count = 0;
}

int CZoPtrArray::SetAt(long index, void* element)
{
    if (!Inside(index))
        return 0;
    m_elements[index] = element;
    return 1;
}
