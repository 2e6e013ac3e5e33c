// The named values a browser keeps for its host (PutProperty / GetProperty).
#pragma once

#include <com/Variant.h>

#include <map>
#include <string>

class CBrowserPropertyStore
{
public:
    CBrowserPropertyStore() = default;
    ~CBrowserPropertyStore();
    CBrowserPropertyStore(const CBrowserPropertyStore&) = delete;
    CBrowserPropertyStore& operator=(const CBrowserPropertyStore&) = delete;

    // Keeps a copy; an empty value removes the name. Names compare with case.
    void Put(const std::string& name, const VARIANT& value);
    // A copy into *value (VT_EMPTY when the name is unknown); false when unknown.
    bool Get(const std::string& name, VARIANT* value) const;

private:
    std::map<std::string, VARIANT> m_values;
};
