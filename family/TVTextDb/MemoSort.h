// Sorts a section's record array on a list of key fields.
#pragma once

#include "MemoDb.h"

#include <vector>

enum MemoSortType
{
    MSORT_ASCENDING = 0, // by the field's value: numbers numerically, strings bytewise
    MSORT_DESCENDING = 1,
    MSORT_COMPARE = 2 // by the compare function given for the field
};

// <0, 0 or >0 as record a sorts before, with or after record b.
using MemoSortCompare = int (*)(const void* a, const void* b);

class CMemoSort
{
public:
    void Init(const MEMODB_REC* fields, int count);
    // The key fields, most significant first; nonzero when every field is in the table.
    int SetOrder(const int* fields, int count);
    // How one field compares; a field outside the table is ignored.
    void SetFieldSort(int field, MemoSortType kind, MemoSortCompare compare = nullptr);
    // Sorts count records of recordSize bytes in place; equal records keep their order.
    void Sort(void* records, int count, int recordSize) const;

private:
    struct FieldSort
    {
        MemoSortType kind = MSORT_ASCENDING;
        MemoSortCompare compare = nullptr;
    };

    int CompareField(int field, const void* a, const void* b) const;
    bool Less(const void* a, const void* b) const;

    CMemoDb m_fields;
    std::vector<FieldSort> m_fieldSort;
    std::vector<int> m_order;
};
