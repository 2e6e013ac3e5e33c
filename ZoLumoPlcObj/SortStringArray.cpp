// The sortable string array.
#include <ZoLumoPlcObj/SortStringArray.h>

#include <ZoSupport/ZoSupport.h>

#include <utility>

bool CSortStringArray::BelongsAfter(const CString& first, const CString& second) const
{
    switch (m_nKind)
    {
    case SORT_ASCENDING:
        return first.Collate(second) > 0;
    case SORT_ASCENDING_NOCASE:
        return first.CompareNoCase(second) > 0;
    case SORT_DESCENDING:
        return second.Collate(first) > 0;
    case SORT_DESCENDING_NOCASE:
        return second.CompareNoCase(first) > 0;
    case SORT_LENGTH_ASCENDING:
        return first.GetLength() > second.GetLength();
    case SORT_LENGTH_DESCENDING:
        return second.GetLength() > first.GetLength();
    default:
        ProgramError("SortStringArray", 80, nullptr);
        return false;
    }
}

void CSortStringArray::Sort()
{
    for (INT_PTR i = GetSize() - 1; i >= 0; --i)
        if (GetAt(i).IsEmpty())
            RemoveAt(i);
    if (GetSize() < 2)
        return;
    bool swapped = true;
    while (swapped)
    {
        swapped = false;
        for (INT_PTR i = 0; i + 1 < GetSize(); ++i)
        {
            if (BelongsAfter(GetAt(i), GetAt(i + 1)))
            {
                std::swap(ElementAt(i), ElementAt(i + 1));
                swapped = true;
            }
        }
    }
}
