// Nested string maps that offer a choice level by level (drive or motor selection).
#pragma once

#include <framework/Map.h>

#include <initializer_list>
#include <new>

// Each key maps to the map of the next level, owned by its entry; keys of the last level map to
// null. Level is the derived map class itself, so nested levels are of the same kind.
template <class Level> class CStringCascade : public CMapStringToPtr
{
public:
    CStringCascade() : CMapStringToPtr(10) {}
    CStringCascade(const CStringCascade&) = delete;
    CStringCascade& operator=(const CStringCascade&) = delete;
    ~CStringCascade() override { FreeLevels(); }

    // The map below key, or null when the key is absent or ends a path.
    Level* Below(const char* key) const
    {
        void* next = nullptr;
        return Lookup(key, next) ? static_cast<Level*>(next) : nullptr;
    }

    // The first key in enumeration order; false when the map is empty.
    static bool FirstKey(const CMapStringToPtr* map, CString& key)
    {
        if (!map || map->IsEmpty())
            return false;
        POSITION pos = map->GetStartPosition();
        void* value = nullptr;
        map->GetNextAssoc(pos, key, value);
        return true;
    }

protected:
    // Frees every nested level and empties the map.
    void FreeLevels()
    {
        for (POSITION pos = GetStartPosition(); pos;)
        {
            CString key;
            void* value = nullptr;
            GetNextAssoc(pos, key, value);
            delete static_cast<Level*>(value);
        }
        RemoveAll();
    }

    // Adds the path, creating the missing levels; stops (leaving the path incomplete) when a
    // level cannot be allocated.
    void AddPath(std::initializer_list<const char*> parts)
    {
        CStringCascade* map = this;
        const char* const* part = parts.begin();
        for (; part + 1 < parts.end(); ++part)
        {
            void*& next = (*map)[*part];
            if (!next)
            {
                next = new (std::nothrow) Level;
                if (!next)
                    return;
            }
            map = static_cast<Level*>(next);
        }
        if (part < parts.end())
            (*map)[*part];
    }

    // Walks the given keys, then takes the first key of each following level into the outputs.
    // Each output is set as soon as its level is found; true when every output was set.
    bool FirstPathBelow(std::initializer_list<const char*> given,
                        std::initializer_list<CString*> outputs) const
    {
        const CStringCascade* map = this;
        for (const char* key : given)
        {
            map = map->Below(key);
            if (!map)
                return false;
        }
        for (CString* out : outputs)
        {
            if (!map || !FirstKey(map, *out))
                return false;
            map = map->Below(*out);
        }
        return true;
    }
};
