#include "Enum.h"

#include <ZoSupport/ResourceString.h>

IMPLEMENT_SERIAL(CEnum, CObject, 1)

CEnumElem::CEnumElem(const EN_ELEM& elem, HINSTANCE module) : m_text(elem.text), m_value(elem.value)
{
    if (elem.stringId > 0)
        m_text.Format("%s", GetResourceString(static_cast<UINT>(elem.stringId), module).GetString());
}

CEnum::CEnum()
{
    m_map.InitHashTable(17);
}

CEnum::CEnum(const EN_ELEM* table, const char* defaultText, int count, HINSTANCE module) : CEnum()
{
    Add(table, count, module);
    if (defaultText)
        m_default = defaultText;
}

CEnum& CEnum::operator=(const CEnum& source)
{
    if (this == &source)
        return *this;
    m_default = source.m_default;
    Reset();
    for (const CEnumElem& elem : source)
        Add(elem.GetVal(), elem.GetText());
    return *this;
}

void CEnum::Add(const EN_ELEM* table, int count, HINSTANCE module)
{
    if (!table)
        return;
    for (int i = 0; (count < 0 || i < count) && table[i].text; ++i)
        Add(&table[i], module);
}

INT_PTR CEnum::Add(const EN_ELEM* elem, HINSTANCE module)
{
    // The map keeps the table's own text even when the list shows a string-table text.
    m_map[elem->value] = elem->text;
    return CArray::Add(CEnumElem(*elem, module));
}

INT_PTR CEnum::Add(int value, const char* text)
{
    m_map[value] = text;
    return CArray::Add(CEnumElem(text, value));
}

void CEnum::Reset()
{
    m_map.RemoveAll();
    RemoveAll();
}

int CEnum::FindVal(int value, CString& text) const
{
    if (m_map.Lookup(value, text))
        return 1;
    if (m_default.IsEmpty())
        return 0;
    text = m_default;
    return 1;
}

int CEnum::FindString(const char* text, int& value) const
{
    POSITION pos = m_map.GetStartPosition();
    while (pos)
    {
        CString candidate;
        m_map.GetNextAssoc(pos, value, candidate);
        if (candidate == text)
            return 1;
    }
    return 0;
}

void CEnum::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<UINT>(GetSize());
        for (const CEnumElem& elem : *this)
            ar << elem.GetText() << elem.GetVal();
        return;
    }
    Reset();
    UINT count = 0;
    ar >> count;
    for (UINT i = 0; i < count; ++i)
    {
        CString text;
        int value = 0;
        ar >> text >> value;
        Add(value, text);
    }
}
