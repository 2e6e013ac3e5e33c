#include "SortMap.h"

#include <algorithm>
#include <vector>

int SortMapStringToStringList(const CMapStringToPtr* map, CStringList& list)
{
    list.RemoveAll();
    if (!map)
        return 0;
    std::vector<CString> keys;
    keys.reserve(static_cast<size_t>(map->GetCount()));
    POSITION pos = map->GetStartPosition();
    while (pos)
    {
        CString key;
        void* value = nullptr;
        map->GetNextAssoc(pos, key, value);
        keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end(),
              [](const CString& a, const CString& b)
              {
                  const int noCase = a.CompareNoCase(b);
                  return noCase != 0 ? noCase < 0 : a.Compare(b) < 0;
              });
    for (const CString& key : keys)
        list.AddTail(key);
    return static_cast<int>(keys.size());
}
