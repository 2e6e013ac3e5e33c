// Cursor rules of the object list.
#include "PlcFBDObjList.h"

#include "PlcFBDDump.h"
#include "PlcFBDObject.h"

CPlcFBDObjList::~CPlcFBDObjList()
{
    Reset();
}

void CPlcFBDObjList::ClearCursor() noexcept
{
    m_posCursor = nullptr;
    m_nCursor = NoCursor;
}

void* CPlcFBDObjList::RemoveHead()
{
    ClearCursor();
    return CPtrList::RemoveHead();
}

void* CPlcFBDObjList::RemoveTail()
{
    ClearCursor();
    return CPtrList::RemoveTail();
}

void CPlcFBDObjList::RemoveAt(POSITION pos)
{
    ClearCursor();
    CPtrList::RemoveAt(pos);
}

void CPlcFBDObjList::RemoveAll()
{
    ClearCursor();
    CPtrList::RemoveAll();
}

void CPlcFBDObjList::GoTop()
{
    m_posCursor = GetHeadPosition();
    if (!IsEmpty())
        m_nCursor = 0;
}

CPlcFBDObject* CPlcFBDObjList::GetNext()
{
    if (!m_posCursor)
    {
        m_nCursor = NoCursor;
        return nullptr;
    }
    ++m_nCursor;
    return static_cast<CPlcFBDObject*>(CPtrList::GetNext(m_posCursor));
}

CPlcFBDObject* CPlcFBDObjList::operator[](WORD index)
{
    // A cursor at the end may have been overtaken by AddTail; only a live position is trusted.
    if (index == m_nCursor && m_posCursor)
        return GetNext();
    if (index >= GetCount())
        return nullptr;
    if (index < m_nCursor || !m_posCursor)
        GoTop();
    while (m_nCursor != index)
        if (!GetNext())
            return nullptr;
    return GetNext();
}

CPlcFBDObject* CPlcFBDObjList::FindEl(const char* id)
{
    WORD index = 0;
    for (POSITION pos = GetHeadPosition(); pos; ++index)
    {
        auto* object = static_cast<CPlcFBDObject*>(CPtrList::GetNext(pos));
        if (object && id && object->m_strID == id)
        {
            m_posCursor = pos;
            m_nCursor = static_cast<WORD>(index + 1);
            return object;
        }
    }
    ClearCursor();
    return nullptr;
}

bool CPlcFBDObjList::RemoveEl(CPlcFBDObject* object)
{
    POSITION pos = Find(object);
    if (!pos)
    {
        ClearCursor();
        return false;
    }
    if (!m_bReference)
        delete object;
    RemoveAt(pos);
    return true;
}

void CPlcFBDObjList::Reset()
{
    if (!m_bReference)
        for (POSITION pos = GetHeadPosition(); pos;)
            delete static_cast<CPlcFBDObject*>(CPtrList::GetNext(pos));
    RemoveAll();
}

void CPlcFBDObjList::Dump(bool full)
{
    if (IsEmpty())
    {
        PlcDump::Indent();
        PlcDump::Write("  None\n");
        return;
    }
    for (POSITION pos = GetHeadPosition(); pos;)
        if (auto* object = static_cast<CPlcFBDObject*>(CPtrList::GetNext(pos)))
            object->Dump(full);
}
