// An ordered array that owns its elements: the manager's lists and a radio group's members.
#pragma once

#include <memory>
#include <utility>
#include <vector>

template <class T> class CHtmlCtrlArray
{
public:
    int GetCount() const noexcept { return static_cast<int>(m_items.size()); }
    // Takes ownership; a null pointer is refused.
    bool Add(T* item)
    {
        if (!item)
            return false;
        m_items.emplace_back(item);
        return true;
    }
    bool RemoveAt(int index)
    {
        if (static_cast<unsigned>(index) >= m_items.size())
            return false;
        m_items.erase(m_items.begin() + index);
        return true;
    }
    // Null out of range; a negative index is out of range.
    T* GetAt(int index) const
    {
        return static_cast<unsigned>(index) < m_items.size() ? m_items[static_cast<unsigned>(index)].get()
                                                             : nullptr;
    }
    void RemoveAll() { m_items.clear(); }
    // Hands every element over and leaves the array empty.
    std::vector<std::unique_ptr<T>> TakeAll() { return std::exchange(m_items, {}); }

private:
    std::vector<std::unique_ptr<T>> m_items;
};
