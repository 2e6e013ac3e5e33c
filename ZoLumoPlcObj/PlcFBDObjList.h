// List of graph objects with a built-in cursor; owns its objects unless it is a reference list.
#pragma once

#include <framework/List.h>

class CPlcFBDObject;

class CPlcFBDObjList : public CPtrList
{
public:
    static constexpr WORD NoCursor = 0xFFFF;

    explicit CPlcFBDObjList(bool reference = false) : m_bReference(reference) {}
    CPlcFBDObjList(const CPlcFBDObjList&) = delete;
    CPlcFBDObjList& operator=(const CPlcFBDObjList&) = delete;
    ~CPlcFBDObjList() override;

    using CPtrList::GetNext;

    // Removing elements clears the cursor, which could otherwise stand on a freed element.
    void* RemoveHead();
    void* RemoveTail();
    void RemoveAt(POSITION pos);
    void RemoveAll();

    void GoTop();
    CPlcFBDObject* GetNext();
    CPlcFBDObject* operator[](WORD index);
    CPlcFBDObject* FindEl(const char* id);
    bool RemoveEl(CPlcFBDObject* object);
    void Reset();
    void Dump(bool full);

    bool IsReference() const noexcept { return m_bReference; }
    WORD GetCursorIndex() const noexcept { return m_nCursor; }

private:
    void ClearCursor() noexcept;

    bool m_bReference;
    WORD m_nCursor = NoCursor;
    POSITION m_posCursor = nullptr;
};

// Walks a list by position, leaving its cursor alone, so that lookups inside a walk are safe.
template <class T> class PlcObjRange
{
public:
    class iterator
    {
    public:
        iterator(const CPlcFBDObjList* list, POSITION pos) : m_list(list), m_pos(pos) {}
        T* operator*() const { return static_cast<T*>(m_list->GetAt(m_pos)); }
        iterator& operator++()
        {
            m_list->GetNext(m_pos);
            return *this;
        }
        bool operator!=(const iterator& other) const { return m_pos != other.m_pos; }

    private:
        const CPlcFBDObjList* m_list;
        POSITION m_pos;
    };

    explicit PlcObjRange(const CPlcFBDObjList& list) : m_list(list) {}
    iterator begin() const { return iterator(&m_list, m_list.GetHeadPosition()); }
    iterator end() const { return iterator(&m_list, nullptr); }

private:
    const CPlcFBDObjList& m_list;
};

template <class T = CPlcFBDObject> PlcObjRange<T> PlcObjects(const CPlcFBDObjList& list)
{
    return PlcObjRange<T>(list);
}
