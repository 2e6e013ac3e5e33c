// A vector that keeps its first few elements inside itself: argument lists and locals of calls
// without a heap allocation.
#pragma once

#include "Value.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace tvsk::script
{

template <class T, size_t N> class SmallVector
{
public:
    SmallVector() = default;
    explicit SmallVector(size_t count)
    {
        if (count > N)
        {
            for (size_t i = 0; i < count; ++i)
                push_back(T());
            return;
        }
        for (size_t i = 0; i < count; ++i)
            new (&Inline()[i]) T();
        m_size = count;
    }
    ~SmallVector()
    {
        for (size_t i = 0; i < std::min(m_size, N); ++i)
            Inline()[i].~T();
    }
    SmallVector(const SmallVector&) = delete;
    SmallVector& operator=(const SmallVector&) = delete;

    void push_back(T value)
    {
        if (m_size < N)
            new (&Inline()[m_size]) T(std::move(value));
        else
        {
            if (m_size == N)
            {
                m_heap.reserve(N * 2);
                for (size_t i = 0; i < N; ++i)
                    m_heap.push_back(std::move(Inline()[i]));
            }
            m_heap.push_back(std::move(value));
        }
        ++m_size;
    }
    T* data() noexcept { return m_size <= N ? Inline() : m_heap.data(); }
    size_t size() const noexcept { return m_size; }
    T& back() noexcept { return data()[m_size - 1]; }

private:
    T* Inline() noexcept { return std::launder(reinterpret_cast<T*>(m_inline)); }
    alignas(T) unsigned char m_inline[N * sizeof(T)];
    std::vector<T> m_heap;
    size_t m_size = 0;
};

using SmallValues = SmallVector<Value, 6>;

// A call's slots, a fixed number of values: inside itself for most procedures.
class Slots
{
public:
    explicit Slots(size_t count) : m_count(count)
    {
        if (count > Inside)
            m_data = new Value[count];
        else
        {
            m_data = std::launder(reinterpret_cast<Value*>(m_inline));
            for (size_t i = 0; i < count; ++i)
                new (&m_data[i]) Value();
        }
    }
    ~Slots()
    {
        if (m_count > Inside)
            delete[] m_data;
        else
            for (size_t i = 0; i < m_count; ++i)
                m_data[i].~Value();
    }
    Slots(const Slots&) = delete;
    Slots& operator=(const Slots&) = delete;
    Value* data() noexcept { return m_data; }

private:
    static constexpr size_t Inside = 8;
    alignas(Value) unsigned char m_inline[Inside * sizeof(Value)];
    Value* m_data;
    size_t m_count;
};

} // namespace tvsk::script
