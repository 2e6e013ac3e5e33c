// The circular sample buffer of a trace: values and times of DimBuffer slots, newest at the write position.
#pragma once

#include <cstddef>
#include <vector>

class TraceBuffer
{
public:
    static constexpr double kEmptyMark = 3.4028234663852886e38; // FLT_MAX as a double
    static constexpr long kDefaultDim = 1000;

    TraceBuffer();

    // Takes the capacity and resets; false (buffer kept) for a capacity below 1.
    bool SetDim(long dim);
    // Every slot empty, no samples, automatic times from 0 by a period of 1.
    void Reset();
    // Adds num samples in order; times (when given) are cut to whole numbers.
    void Add(long num, const double* values, const double* times);

    long Dim() const noexcept { return static_cast<long>(m_values.size()); }
    long SamplesNum() const noexcept { return m_samples; }
    long WritePosition() const noexcept { return m_write; }
    void SetWritePosition(long position);
    unsigned long TotalAdded() const noexcept { return m_totalAdded; }
    double SamplePeriod() const noexcept { return m_period; }
    void SetSamplePeriod(double period) { m_period = period; }
    double MinValue() const noexcept { return m_minValue; }
    double MaxValue() const noexcept { return m_maxValue; }
    // Brings MinValue and MaxValue out to every held value; answers whether either moved.
    bool ExtendValueRange();

    bool Empty() const noexcept { return m_samples == 0; }
    // The slot of the sample `age` steps older than the newest (age < SamplesNum).
    long SlotOfAge(long age) const noexcept;
    long NewestSlot() const noexcept { return SlotOfAge(0); }
    long OldestSlot() const noexcept { return SlotOfAge(m_samples - 1); }
    double Value(long slot) const noexcept { return m_values[static_cast<std::size_t>(slot)]; }
    double Time(long slot) const noexcept { return m_times[static_cast<std::size_t>(slot)]; }
    const double* Values() const noexcept { return m_values.data(); }
    const double* Times() const noexcept { return m_times.data(); }

    // Raw slots from `from` on, at most num and never past the slots written: answers how many were copied.
    long CopySlots(long num, long from, double* values, double* times) const;
    // The value at time t: the last sample not later than t, or its successor when t is at least half-way to
    // it.
    double SampleFromTime(double t) const;
    // The age of the held sample nearest to t (the earlier unless t is at least half-way); -1 for none.
    long AgeNearTime(double t) const;
    // Newest time minus oldest time of the held samples; 0 when empty.
    double TotalTime() const;

private:
    std::vector<double> m_values;
    std::vector<double> m_times;
    long m_samples = 0;
    long m_write = 0;
    unsigned long m_totalAdded = 0;
    double m_period = 1.0;
    double m_nextTime = 0;
    double m_minValue;
    double m_maxValue;
};
