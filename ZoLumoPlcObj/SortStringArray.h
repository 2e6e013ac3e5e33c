// A string array that drops empty entries and sorts itself in one of six fixed orders.
#pragma once

#include <framework/Array.h>

enum SortKind
{
    SORT_ASCENDING = 0,
    SORT_ASCENDING_NOCASE = 1,
    SORT_DESCENDING = 2,
    SORT_DESCENDING_NOCASE = 3,
    SORT_LENGTH_ASCENDING = 4,
    SORT_LENGTH_DESCENDING = 5
};

class CSortStringArray : public CStringArray
{
public:
    explicit CSortStringArray(int kind) : m_nKind(kind) {}
    int GetKind() const noexcept { return m_nKind; }
    // Stable: only strictly out-of-order neighbours are swapped.
    void Sort();

private:
    bool BelongsAfter(const CString& first, const CString& second) const;

    int m_nKind;
};
