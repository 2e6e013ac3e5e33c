// A growable array of untyped pointers that grows by one element at a time; it owns no element.
#pragma once

class CZoPtrArray
{
public:
    CZoPtrArray() = default;
    CZoPtrArray(const CZoPtrArray& other);
    CZoPtrArray& operator=(const CZoPtrArray& other);
    ~CZoPtrArray() { RemoveAll(); }

    // 1, or 0 when memory runs out (the array is then unchanged).
    int Add(void* element);
    // 0 for an index outside the array.
    int Remove(long index);
    void RemoveAll();
    void* GetAt(long index) const { return Inside(index) ? m_elements[index] : nullptr; }
    void* operator[](long index) const { return GetAt(index); }
    int SetAt(long index, void* element);
    long GetSize() const { return m_count; }

private:
    bool Inside(long index) const { return index >= 0 && index < m_count; }

    long m_count = 0;
    void** m_elements = nullptr;
};
