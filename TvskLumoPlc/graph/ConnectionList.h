// The wire and junction lists of a network.
#pragma once

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/CrossConnection.h>

#include <vector>

class CGraphPin;

// Owns its objects unless told not to; deleting detaches them from pins, arms and wire ends.
template <class T> class CGraphOwningList
{
public:
    explicit CGraphOwningList(bool noDelete = false) : m_bNoDelete(noDelete) {}
    CGraphOwningList(const CGraphOwningList&) = delete;
    CGraphOwningList& operator=(const CGraphOwningList&) = delete;
    ~CGraphOwningList()
    {
        if (!m_bNoDelete)
            for (T* object : m_Objects)
                delete object;
    }

    int GetSize() const noexcept { return static_cast<int>(m_Objects.size()); }
    T* GetAt(int i) const { return i >= 0 && i < GetSize() ? m_Objects[static_cast<size_t>(i)] : nullptr; }
    int Find(const T* object) const;
    // The index, -1 when memory runs out; with renumbering each object's number becomes its index.
    int Add(T* object, bool renumber);
    // Takes the object out, deletes it (unless no-delete) and renumbers; false when absent.
    bool Remove(T* object);
    bool RemoveAt(int index) { return Remove(GetAt(index)); }
    // Takes the object out without deleting it.
    bool Detach(const T* object);
    void Renumber();
    auto begin() const { return m_Objects.begin(); }
    auto end() const { return m_Objects.end(); }

protected:
    std::vector<T*> m_Objects;
    bool m_bNoDelete;
};

class CConnectionList : public CGraphOwningList<CConnection>
{
public:
    using CGraphOwningList::CGraphOwningList;

    void OffsetAll(int dx, int dy);
    // Two wires meeting end to end become one new wire from far end to far end.
    // result: 1 joined, 0 they do not meet, -1 the joined wire would have no end object.
    CConnection* Join(CConnection* first, CConnection* second, int& result);
};

class CCrossList : public CGraphOwningList<CCrossConnection>
{
public:
    using CGraphOwningList::CGraphOwningList;

    void RemoveFromAll(const CConnection* wire);
    void OffsetAll(int dx, int dy);
};

void OffsetPins(const std::vector<CGraphPin*>& pins, int dx, int dy);
