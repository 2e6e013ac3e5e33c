// Doubly linked lists iterated with POSITION cursors.
#pragma once

#include "CString.h"

#include <utility>

class CObject;

template <class TYPE, class ARG_TYPE = const TYPE&> class CList
{
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };
    static CNode* Node(POSITION p) noexcept { return reinterpret_cast<CNode*>(p); }
    static POSITION Pos(CNode* n) noexcept { return reinterpret_cast<POSITION>(n); }

public:
    CList() = default;
    CList(const CList& other) { AddTail(&other); }
    CList& operator=(const CList& other)
    {
        if (this != &other)
        {
            RemoveAll();
            AddTail(&other);
        }
        return *this;
    }
    virtual ~CList() { RemoveAll(); }

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    bool IsEmpty() const noexcept { return m_nCount == 0; }

    TYPE& GetHead() { return m_pHead->data; }
    const TYPE& GetHead() const { return m_pHead->data; }
    TYPE& GetTail() { return m_pTail->data; }
    const TYPE& GetTail() const { return m_pTail->data; }

    POSITION AddHead(ARG_TYPE e) { return InsertBefore(Pos(m_pHead), e); }
    POSITION AddTail(ARG_TYPE e) { return InsertAfter(Pos(m_pTail), e); }
    void AddTail(const CList* other)
    {
        for (CNode* n = other ? other->m_pHead : nullptr; n; n = n->pNext)
            AddTail(n->data);
    }
    void AddHead(const CList* other)
    {
        for (CNode* n = other ? other->m_pTail : nullptr; n; n = n->pPrev)
            AddHead(n->data);
    }

    TYPE RemoveHead()
    {
        TYPE v = std::move(m_pHead->data);
        RemoveAt(Pos(m_pHead));
        return v;
    }
    TYPE RemoveTail()
    {
        TYPE v = std::move(m_pTail->data);
        RemoveAt(Pos(m_pTail));
        return v;
    }
    void RemoveAll()
    {
        for (CNode* n = m_pHead; n;)
        {
            CNode* next = n->pNext;
            delete n;
            n = next;
        }
        m_pHead = m_pTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const noexcept { return Pos(m_pHead); }
    POSITION GetTailPosition() const noexcept { return Pos(m_pTail); }
    TYPE& GetNext(POSITION& p)
    {
        CNode* n = Node(p);
        p = Pos(n->pNext);
        return n->data;
    }
    const TYPE& GetNext(POSITION& p) const
    {
        CNode* n = Node(p);
        p = Pos(n->pNext);
        return n->data;
    }
    TYPE& GetPrev(POSITION& p)
    {
        CNode* n = Node(p);
        p = Pos(n->pPrev);
        return n->data;
    }
    const TYPE& GetPrev(POSITION& p) const
    {
        CNode* n = Node(p);
        p = Pos(n->pPrev);
        return n->data;
    }
    TYPE& GetAt(POSITION p) { return Node(p)->data; }
    const TYPE& GetAt(POSITION p) const { return Node(p)->data; }
    void SetAt(POSITION p, ARG_TYPE e) { Node(p)->data = e; }

    void RemoveAt(POSITION p)
    {
        CNode* n = Node(p);
        (n->pPrev ? n->pPrev->pNext : m_pHead) = n->pNext;
        (n->pNext ? n->pNext->pPrev : m_pTail) = n->pPrev;
        delete n;
        --m_nCount;
    }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION p, ARG_TYPE e)
    {
        CNode* at = p ? Node(p) : m_pHead;
        CNode* n = new CNode{at, at ? at->pPrev : nullptr, TYPE(e)};
        (n->pPrev ? n->pPrev->pNext : m_pHead) = n;
        (at ? at->pPrev : m_pTail) = n;
        ++m_nCount;
        return Pos(n);
    }
    POSITION InsertAfter(POSITION p, ARG_TYPE e)
    {
        CNode* at = p ? Node(p) : m_pTail;
        CNode* n = new CNode{at ? at->pNext : nullptr, at, TYPE(e)};
        (n->pNext ? n->pNext->pPrev : m_pTail) = n;
        (at ? at->pNext : m_pHead) = n;
        ++m_nCount;
        return Pos(n);
    }

    POSITION Find(ARG_TYPE value, POSITION after = nullptr) const
    {
        for (CNode* n = after ? Node(after)->pNext : m_pHead; n; n = n->pNext)
            if (n->data == value)
                return Pos(n);
        return nullptr;
    }
    POSITION FindIndex(INT_PTR index) const
    {
        if (index < 0 || index >= m_nCount)
            return nullptr;
        CNode* n = m_pHead;
        while (index--)
            n = n->pNext;
        return Pos(n);
    }

private:
    CNode* m_pHead = nullptr;
    CNode* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
};

class CPtrList : public CList<void*, void*>
{
};
class CObList : public CList<CObject*, CObject*>
{
};
class CStringList : public CList<CString, const CString&>
{
public:
    POSITION AddHead(const char* s) { return CList::AddHead(CString(s)); }
    POSITION AddTail(const char* s) { return CList::AddTail(CString(s)); }
    using CList::AddHead;
    using CList::AddTail;
};

template <class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS
{
public:
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE GetNext(POSITION& p) const { return static_cast<TYPE>(BASE_CLASS::GetNext(p)); }
    TYPE GetPrev(POSITION& p) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(p)); }
    TYPE GetAt(POSITION p) const { return static_cast<TYPE>(BASE_CLASS::GetAt(p)); }
    POSITION AddHead(TYPE p) { return BASE_CLASS::AddHead(p); }
    POSITION AddTail(TYPE p) { return BASE_CLASS::AddTail(p); }
};
