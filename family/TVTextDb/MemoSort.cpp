#include "MemoSort.h"

#include <algorithm>
#include <cstring>

namespace
{

template <class T> int CompareValues(const void* a, const void* b)
{
    T x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return x < y ? -1 : (y < x ? 1 : 0);
}

} // namespace

void CMemoSort::Init(const MEMODB_REC* fields, int count)
{
    m_fields.Init(fields, count);
    m_fieldSort.assign(static_cast<size_t>(m_fields.NumFields()), FieldSort());
    m_order.clear();
}

int CMemoSort::SetOrder(const int* fields, int count)
{
    if (!fields || count <= 0)
        return 0;
    for (int i = 0; i < count; ++i)
        if (!m_fields.Field(fields[i]))
            return 0;
    m_order.assign(fields, fields + count);
    return 1;
}

void CMemoSort::SetFieldSort(int field, MemoSortType kind, MemoSortCompare compare)
{
    if (!m_fields.Field(field))
        return;
    m_fieldSort[static_cast<size_t>(field)] = FieldSort{kind, compare};
}

int CMemoSort::CompareField(int field, const void* a, const void* b) const
{
    const FieldSort& sort = m_fieldSort[static_cast<size_t>(field)];
    if (sort.kind == MSORT_COMPARE && sort.compare)
        return sort.compare(a, b);
    const MEMODB_REC* def = m_fields.Field(field);
    const char* x = static_cast<const char*>(a) + def->nOffset;
    const char* y = static_cast<const char*>(b) + def->nOffset;
    int r = 0;
    switch (def->nType)
    {
    case MDB_INT:
        r = CompareValues<int>(x, y);
        break;
    case MDB_DOUBLE:
        r = CompareValues<double>(x, y);
        break;
    case MDB_STRING:
        r = strncmp(x, y, static_cast<size_t>(def->nSize));
        break;
    default:
        break;
    }
    return sort.kind == MSORT_DESCENDING ? -r : r;
}

bool CMemoSort::Less(const void* a, const void* b) const
{
    for (int field : m_order)
    {
        const int r = CompareField(field, a, b);
        if (r != 0)
            return r < 0;
    }
    return false;
}

void CMemoSort::Sort(void* records, int count, int recordSize) const
{
    if (!records || count < 2 || recordSize <= 0 || m_order.empty())
        return;
    char* base = static_cast<char*>(records);
    const size_t size = static_cast<size_t>(recordSize);
    std::vector<const char*> order(static_cast<size_t>(count));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = base + i * size;
    std::stable_sort(order.begin(), order.end(), [this](const char* a, const char* b) { return Less(a, b); });

    std::vector<char> sorted(order.size() * size);
    for (size_t i = 0; i < order.size(); ++i)
        std::memcpy(sorted.data() + i * size, order[i], size);
    std::memcpy(base, sorted.data(), sorted.size());
}
