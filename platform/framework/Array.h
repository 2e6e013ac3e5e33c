// Growable contiguous arrays with the framework's growth rule.
#pragma once

#include "CString.h"
#include "Exceptions.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

class CObject;

// A contiguous array. Growing without an explicit step adds max(4, min(1024, size / 8)) slots;
// the first allocation of an empty array takes exactly what is asked. New elements are zeroed
// and value-initialised. Allocation failure throws the framework's memory exception.
template <class TYPE, class ARG_TYPE = const TYPE&> class CArray
{
public:
    CArray() = default;
    CArray(const CArray& other) { Copy(other); }
    CArray& operator=(const CArray& other)
    {
        if (this != &other)
            Copy(other);
        return *this;
    }
    virtual ~CArray() { Release(); }

    INT_PTR GetSize() const noexcept { return m_nSize; }
    INT_PTR GetCount() const noexcept { return m_nSize; }
    bool IsEmpty() const noexcept { return m_nSize == 0; }
    INT_PTR GetUpperBound() const noexcept { return m_nSize - 1; }
    INT_PTR GetCapacity() const noexcept { return m_nMaxSize; }

    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        if (growBy >= 0)
            m_nGrowBy = growBy;
        if (newSize <= 0)
        {
            Release();
            return;
        }
        if (!m_pData)
        {
            const INT_PTR alloc = std::max(newSize, m_nGrowBy);
            m_pData = Allocate(alloc);
            ConstructElements(m_pData, newSize);
            m_nSize = newSize;
            m_nMaxSize = alloc;
        }
        else if (newSize <= m_nMaxSize)
        {
            if (newSize > m_nSize)
                ConstructElements(m_pData + m_nSize, newSize - m_nSize);
            else
                DestroyElements(m_pData + newSize, m_nSize - newSize);
            m_nSize = newSize;
        }
        else
        {
            INT_PTR grow = m_nGrowBy;
            if (grow == 0)
                grow = std::min<INT_PTR>(1024, std::max<INT_PTR>(4, m_nSize / 8));
            const INT_PTR newMax = std::max(newSize, m_nMaxSize + grow);
            if constexpr (kPlainStorage)
            {
                // Large plain blocks move by remapping their pages, so the small steps of the
                // growth rule stay linear in time when an array grows one element at a time.
                void* data =
                    std::realloc(static_cast<void*>(m_pData), static_cast<size_t>(newMax) * sizeof(TYPE));
                if (!data)
                    AfxThrowMemoryException();
                m_pData = static_cast<TYPE*>(data);
                ConstructElements(m_pData + m_nSize, newSize - m_nSize);
            }
            else
            {
                TYPE* data = Allocate(newMax);
                MoveElements(data, m_pData, m_nSize);
                ConstructElements(data + m_nSize, newSize - m_nSize);
                Free(m_pData);
                m_pData = data;
            }
            m_nSize = newSize;
            m_nMaxSize = newMax;
        }
    }

    void FreeExtra()
    {
        if (m_nSize == m_nMaxSize)
            return;
        if (m_nSize == 0)
        {
            Release();
            return;
        }
        TYPE* data = Allocate(m_nSize);
        MoveElements(data, m_pData, m_nSize);
        Free(m_pData);
        m_pData = data;
        m_nMaxSize = m_nSize;
    }

    void RemoveAll() { SetSize(0); }

    const TYPE& GetAt(INT_PTR i) const { return m_pData[Checked(i)]; }
    TYPE& GetAt(INT_PTR i) { return m_pData[Checked(i)]; }
    void SetAt(INT_PTR i, ARG_TYPE e) { m_pData[Checked(i)] = e; }
    TYPE& ElementAt(INT_PTR i) { return m_pData[Checked(i)]; }
    const TYPE& ElementAt(INT_PTR i) const { return m_pData[Checked(i)]; }
    TYPE& operator[](INT_PTR i) { return ElementAt(i); }
    const TYPE& operator[](INT_PTR i) const { return ElementAt(i); }
    TYPE* GetData() noexcept { return m_pData; }
    const TYPE* GetData() const noexcept { return m_pData; }

    void SetAtGrow(INT_PTR i, ARG_TYPE e)
    {
        if (i < 0)
            throw std::out_of_range("CArray::SetAtGrow");
        if (i >= m_nSize)
        {
            TYPE copy(e); // e may live in this array
            SetSize(i + 1);
            m_pData[i] = std::move(copy);
        }
        else
        {
            m_pData[i] = e;
        }
    }

    INT_PTR Add(ARG_TYPE e)
    {
        const INT_PTR i = m_nSize;
        SetAtGrow(i, e);
        return i;
    }

    INT_PTR Append(const CArray& src)
    {
        const INT_PTR old = m_nSize;
        const CArray copy(src); // src may be this array
        SetSize(old + copy.m_nSize);
        for (INT_PTR i = 0; i < copy.m_nSize; ++i)
            m_pData[old + i] = copy.m_pData[i];
        return old;
    }

    void Copy(const CArray& src)
    {
        if (this == &src)
            return;
        SetSize(src.m_nSize);
        for (INT_PTR i = 0; i < src.m_nSize; ++i)
            m_pData[i] = src.m_pData[i];
    }

    void InsertAt(INT_PTR index, ARG_TYPE e, INT_PTR count = 1)
    {
        if (index < 0 || count <= 0)
            return;
        TYPE copy(e);
        const INT_PTR old = m_nSize;
        if (index >= old)
        {
            SetSize(index + count);
        }
        else
        {
            SetSize(old + count);
            std::move_backward(m_pData + index, m_pData + old, m_pData + old + count);
        }
        for (INT_PTR i = 0; i < count; ++i)
            m_pData[index + i] = copy;
    }

    void InsertAt(INT_PTR start, const CArray* other)
    {
        if (!other || other->m_nSize == 0)
            return;
        const CArray copy(*other);
        InsertAt(start, copy.m_pData[0], copy.m_nSize);
        for (INT_PTR i = 0; i < copy.m_nSize; ++i)
            m_pData[start + i] = copy.m_pData[i];
    }

    void RemoveAt(INT_PTR index, INT_PTR count = 1)
    {
        if (index < 0 || count < 0 || index + count > m_nSize)
            throw std::out_of_range("CArray::RemoveAt");
        std::move(m_pData + index + count, m_pData + m_nSize, m_pData + index);
        DestroyElements(m_pData + m_nSize - count, count);
        m_nSize -= count;
    }

    TYPE* begin() noexcept { return m_pData; }
    TYPE* end() noexcept { return m_pData + m_nSize; }
    const TYPE* begin() const noexcept { return m_pData; }
    const TYPE* end() const noexcept { return m_pData + m_nSize; }

private:
    INT_PTR Checked(INT_PTR i) const
    {
        if (i < 0 || i >= m_nSize)
            throw std::out_of_range("CArray index");
        return i;
    }

    static constexpr bool kPlainStorage =
        std::is_trivially_copyable_v<TYPE> && alignof(TYPE) <= alignof(std::max_align_t);

    static TYPE* Allocate(INT_PTR count)
    {
        void* p = nullptr;
        if constexpr (kPlainStorage)
            p = std::malloc(static_cast<size_t>(count) * sizeof(TYPE));
        else
            p = ::operator new(static_cast<size_t>(count) * sizeof(TYPE), std::align_val_t(alignof(TYPE)),
                               std::nothrow);
        if (!p)
            AfxThrowMemoryException();
        return static_cast<TYPE*>(p);
    }

    static void Free(TYPE* p)
    {
        if constexpr (kPlainStorage)
            std::free(static_cast<void*>(p));
        else
            ::operator delete(static_cast<void*>(p), std::align_val_t(alignof(TYPE)));
    }

    static void ConstructElements(TYPE* p, INT_PTR count)
    {
        std::memset(static_cast<void*>(p), 0, static_cast<size_t>(count) * sizeof(TYPE));
        for (INT_PTR i = 0; i < count; ++i)
            ::new (static_cast<void*>(p + i)) TYPE();
    }

    static void DestroyElements(TYPE* p, INT_PTR count)
    {
        if constexpr (!std::is_trivially_destructible_v<TYPE>)
            for (INT_PTR i = 0; i < count; ++i)
                p[i].~TYPE();
    }

    static void MoveElements(TYPE* to, TYPE* from, INT_PTR count)
    {
        if constexpr (std::is_trivially_copyable_v<TYPE>)
        {
            if (count)
                std::memcpy(static_cast<void*>(to), static_cast<const void*>(from),
                            static_cast<size_t>(count) * sizeof(TYPE));
        }
        else
        {
            for (INT_PTR i = 0; i < count; ++i)
            {
                ::new (static_cast<void*>(to + i)) TYPE(std::move(from[i]));
                from[i].~TYPE();
            }
        }
    }

    void Release()
    {
        if (m_pData)
        {
            DestroyElements(m_pData, m_nSize);
            Free(m_pData);
        }
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;
};

class CPtrArray : public CArray<void*, void*>
{
};
class CObArray : public CArray<CObject*, CObject*>
{
};
class CStringArray : public CArray<CString, const CString&>
{
public:
    INT_PTR Add(const char* s) { return CArray::Add(CString(s)); }
    INT_PTR Add(const CString& s) { return CArray::Add(s); }
};
class CByteArray : public CArray<BYTE, BYTE>
{
};
class CWordArray : public CArray<WORD, WORD>
{
};
class CDWordArray : public CArray<DWORD, DWORD>
{
};
class CUIntArray : public CArray<UINT, UINT>
{
};

// An array of typed pointers over a pointer array base (CPtrArray or CObArray).
template <class BASE_CLASS, class TYPE> class CTypedPtrArray : public BASE_CLASS
{
    using Base = BASE_CLASS;
    using Elem = std::remove_reference_t<decltype(std::declval<BASE_CLASS&>()[0])>;

public:
    TYPE GetAt(INT_PTR i) const { return static_cast<TYPE>(Base::GetAt(i)); }
    TYPE& ElementAt(INT_PTR i) { return reinterpret_cast<TYPE&>(Base::ElementAt(i)); }
    void SetAt(INT_PTR i, TYPE p) { Base::SetAt(i, static_cast<Elem>(p)); }
    void SetAtGrow(INT_PTR i, TYPE p) { Base::SetAtGrow(i, static_cast<Elem>(p)); }
    INT_PTR Add(TYPE p) { return Base::Add(static_cast<Elem>(p)); }
    void InsertAt(INT_PTR i, TYPE p, INT_PTR count = 1) { Base::InsertAt(i, static_cast<Elem>(p), count); }
    TYPE operator[](INT_PTR i) const { return GetAt(i); }
    TYPE& operator[](INT_PTR i) { return ElementAt(i); }
};
