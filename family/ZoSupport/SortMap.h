// Sorted key lists of string maps, for selection lists.
#pragma once

#include <framework/List.h>
#include <framework/Map.h>

// Empties list and fills it with the keys of map in ascending order, case-insensitively (ties in
// byte order); answers the number of keys. A null map gives an empty list.
int SortMapStringToStringList(const CMapStringToPtr* map, CStringList& list);
