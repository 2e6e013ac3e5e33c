#include "TraceBuffer.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

TraceBuffer::TraceBuffer()
    : m_values(kDefaultDim, 0.0), m_times(kDefaultDim, 0.0), m_minValue(DBL_MAX), m_maxValue(-DBL_MAX)
{
}

bool TraceBuffer::SetDim(long dim)
{
    if (dim < 1)
        return false;
    m_values.assign(static_cast<size_t>(dim), kEmptyMark);
    m_times.assign(static_cast<size_t>(dim), kEmptyMark);
    Reset();
    return true;
}

void TraceBuffer::Reset()
{
    std::fill(m_values.begin(), m_values.end(), kEmptyMark);
    std::fill(m_times.begin(), m_times.end(), kEmptyMark);
    m_samples = 0;
    m_totalAdded = 0;
    m_write = Dim();
    m_minValue = DBL_MAX;
    m_maxValue = -DBL_MAX;
    m_nextTime = 0;
    m_period = 1.0;
}

void TraceBuffer::SetWritePosition(long position)
{
    m_write = std::clamp(position, 0L, Dim() - 1);
}

void TraceBuffer::Add(long num, const double* values, const double* times)
{
    const long dim = Dim();
    for (long i = 0; i < num; ++i)
    {
        if (++m_write >= dim)
            m_write = 0;
        const double value = values[i];
        m_values[static_cast<size_t>(m_write)] = value;
        ++m_totalAdded;
        if (times)
        {
            m_times[static_cast<size_t>(m_write)] = std::trunc(times[i]);
        }
        else
        {
            m_times[static_cast<size_t>(m_write)] = m_nextTime;
            m_nextTime += m_period;
        }
        if (value != kEmptyMark)
        {
            m_minValue = std::min(m_minValue, value);
            m_maxValue = std::max(m_maxValue, value);
        }
    }
    m_samples = static_cast<long>(std::min<long long>(static_cast<long long>(m_samples) + num, dim));
}

bool TraceBuffer::ExtendValueRange()
{
    const double oldMin = m_minValue;
    const double oldMax = m_maxValue;
    for (long age = 0; age < m_samples; ++age)
    {
        const double value = Value(SlotOfAge(age));
        if (value == kEmptyMark)
            continue;
        m_minValue = std::min(m_minValue, value);
        m_maxValue = std::max(m_maxValue, value);
    }
    return oldMin != m_minValue || oldMax != m_maxValue;
}

long TraceBuffer::SlotOfAge(long age) const noexcept
{
    const long dim = Dim();
    const long slot = (m_write - age) % dim;
    return slot < 0 ? slot + dim : slot;
}

long TraceBuffer::CopySlots(long num, long from, double* values, double* times) const
{
    // After a reset the write position is the capacity itself: never read past the slots.
    const long extent = std::min(m_write + 1, Dim());
    from = std::max(from, 0L);
    if (num <= 0 || from >= extent)
        return 0;
    const long count = std::min(num, extent - from);
    const size_t bytes = static_cast<size_t>(count) * sizeof(double);
    if (values)
        std::memcpy(values, m_values.data() + from, bytes);
    if (times)
        std::memcpy(times, m_times.data() + from, bytes);
    return count;
}

double TraceBuffer::SampleFromTime(double t) const
{
    for (long age = 0; age < m_samples; ++age)
    {
        const long slot = SlotOfAge(age);
        if (Time(slot) > t)
            continue;
        const long next = age == 0 ? slot : SlotOfAge(age - 1);
        const double value = Value(slot);
        const double nextValue = Value(next);
        if (value == nextValue || t - Time(slot) < (Time(next) - Time(slot)) / 2)
            return value;
        return nextValue;
    }
    return 0;
}

long TraceBuffer::AgeNearTime(double t) const
{
    for (long age = 0; age < m_samples; ++age)
    {
        const long slot = SlotOfAge(age);
        if (Time(slot) > t)
            continue;
        if (age == 0)
            return 0;
        const double gap = Time(SlotOfAge(age - 1)) - Time(slot);
        return t - Time(slot) >= gap / 2 ? age - 1 : age;
    }
    return -1;
}

double TraceBuffer::TotalTime() const
{
    if (Empty())
        return 0;
    return Time(NewestSlot()) - Time(OldestSlot());
}
