// Value lists of enumerated grid cells: value and text pairs in the order given, with a lookup by value.
#pragma once

#include <framework/Archive.h>
#include <framework/Array.h>
#include <framework/Map.h>
#include <framework/Object.h>

// One row of an owner's static value table; a table ends at its count or at the first null text.
struct EN_ELEM
{
    int value;
    const char* text;
    int stringId; // above 0: the list shows that string-table text instead of text
};

class CEnumElem
{
public:
    CEnumElem() = default;
    // The string-table text of a positive id is looked up in the module's table (null: the program).
    explicit CEnumElem(const EN_ELEM& elem, HINSTANCE module = nullptr);
    CEnumElem(const char* text, int value) : m_text(text), m_value(value) {}
    CEnumElem(const CString& text, int value) : m_text(text), m_value(value) {}

    void SetVal(int value) { m_value = value; }
    int GetVal() const { return m_value; }
    const CString& GetText() const { return m_text; }

private:
    CString m_text;
    int m_value = 0;
};

class CEnum : public CObject, public CArray<CEnumElem, const CEnumElem&>
{
    DECLARE_SERIAL(CEnum)
public:
    CEnum();
    CEnum(const EN_ELEM* table, const char* defaultText, int count, HINSTANCE module = nullptr);
    CEnum& operator=(const CEnum& source);

    // Appends up to count rows (-1: all), stopping at a null text; answers nothing.
    void Add(const EN_ELEM* table, int count, HINSTANCE module = nullptr);
    // Each answers the index of the new list entry.
    INT_PTR Add(const EN_ELEM* elem, HINSTANCE module = nullptr);
    INT_PTR Add(int value, const char* text);
    void Reset();

    // The text of the value, else the default text when there is one: 1; otherwise 0 and text untouched.
    int FindVal(int value, CString& text) const;
    // 1 when a value has exactly this text. Walks the map in its fixed order and leaves value at the
    // key of the last association examined, so a failed search still changes it (unless the map is empty).
    int FindString(const char* text, int& value) const;
    void SetDefault(const char* text) { m_default = text; }
    const CString& GetDefault() const { return m_default; }

    void Serialize(CArchive& ar) override;

private:
    CString m_default;
    CMap<int, int, CString, const char*> m_map{10};
};
