// Hash maps whose enumeration order is fixed: buckets ascending, and within a bucket the key
// added last first. Strings hash as h = h * 33 + c over signed characters, integers and
// pointers as their value shifted right by 4; the default table has 17 buckets.
#pragma once

#include "CString.h"

#include <type_traits>
#include <utility>
#include <vector>

class CObject;

inline UINT HashKey(const char* key) noexcept
{
    UINT h = 0;
    for (; key && *key; ++key)
        h = h * 33u + static_cast<UINT>(static_cast<signed char>(*key));
    return h;
}
inline UINT HashKey(const CString& key) noexcept
{
    return HashKey(key.GetString());
}
inline UINT HashKey(const void* key) noexcept
{
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
}
template <class INTEGRAL>
requires std::is_integral_v<INTEGRAL>
inline UINT HashKey(INTEGRAL key) noexcept
{
    // Keys of 32 bits or less hash as 32-bit words, so a negative key lands in the same bucket
    // as it does where pointers are 32 bits wide.
    if constexpr (sizeof(INTEGRAL) <= sizeof(UINT))
        return static_cast<UINT>(key) >> 4;
    else
        return static_cast<UINT>(static_cast<UINT_PTR>(key) >> 4);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap
{
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(INT_PTR blockSize = 10) { (void)blockSize; }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    virtual ~CMap() { RemoveAll(); }

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    bool IsEmpty() const noexcept { return m_nCount == 0; }
    UINT GetHashTableSize() const noexcept { return m_nHashTableSize; }

    // Sets the bucket count; only while the map is empty.
    void InitHashTable(UINT size, bool allocNow = true)
    {
        if (m_nCount != 0 || size == 0)
            return;
        m_nHashTableSize = size;
        m_table.clear();
        if (allocNow)
            m_table.assign(size, nullptr);
    }

    bool Lookup(ARG_KEY key, VALUE& value) const
    {
        UINT h;
        const CAssoc* a = Find(key, h);
        if (!a)
            return false;
        value = a->value;
        return true;
    }

    VALUE& operator[](ARG_KEY key)
    {
        UINT h;
        if (CAssoc* a = Find(key, h))
            return a->value;
        if (m_table.empty())
            m_table.assign(m_nHashTableSize, nullptr);
        CAssoc* a = new CAssoc{m_table[h], h, KEY(key), VALUE()};
        m_table[h] = a;
        ++m_nCount;
        return a->value;
    }

    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

    bool RemoveKey(ARG_KEY key)
    {
        if (m_table.empty())
            return false;
        const UINT h = HashKey(key) % m_nHashTableSize;
        for (CAssoc** link = &m_table[h]; *link; link = &(*link)->pNext)
        {
            if ((*link)->key == key)
            {
                CAssoc* dead = *link;
                *link = dead->pNext;
                delete dead;
                --m_nCount;
                return true;
            }
        }
        return false;
    }

    void RemoveAll()
    {
        for (CAssoc*& head : m_table)
        {
            for (CAssoc* a = head; a;)
            {
                CAssoc* next = a->pNext;
                delete a;
                a = next;
            }
            head = nullptr;
        }
        m_table.clear();
        m_nCount = 0;
    }

    POSITION GetStartPosition() const noexcept { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }

    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const
    {
        CAssoc* a = reinterpret_cast<CAssoc*>(pos);
        if (pos == BEFORE_START_POSITION)
        {
            a = nullptr;
            for (UINT b = 0; b < m_table.size() && !a; ++b)
                a = m_table[b];
        }
        key = a->key;
        value = a->value;
        CAssoc* next = a->pNext;
        for (UINT b = a->nHashValue + 1; !next && b < m_table.size(); ++b)
            next = m_table[b];
        pos = reinterpret_cast<POSITION>(next);
    }

private:
    CAssoc* Find(ARG_KEY key, UINT& bucket) const
    {
        bucket = HashKey(key) % m_nHashTableSize;
        if (m_table.empty())
            return nullptr;
        for (CAssoc* a = m_table[bucket]; a; a = a->pNext)
            if (a->key == key)
                return a;
        return nullptr;
    }

    std::vector<CAssoc*> m_table;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
};

class CMapStringToPtr : public CMap<CString, const char*, void*, void*>
{
public:
    using CMap::CMap;
};
class CMapStringToOb : public CMap<CString, const char*, CObject*, CObject*>
{
public:
    using CMap::CMap;
};
class CMapStringToString : public CMap<CString, const char*, CString, const char*>
{
public:
    using CMap::CMap;
};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
public:
    using CMap::CMap;
};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*>
{
public:
    using CMap::CMap;
};
class CMapPtrToWord : public CMap<void*, void*, WORD, WORD>
{
public:
    using CMap::CMap;
};
