// What the user tells about a PLC program: shown in the properties dialog and on printed pages.
#pragma once

#include <framework/CString.h>

class CPlcProjectInfo
{
public:
    virtual ~CPlcProjectInfo() = default;

    CString m_strRelease;
    CString m_strAuthor;
    CString m_strNote;
    CString m_strReserved;
    CString m_strComment;
    CString m_strVersion;
    CString m_strDate;
};
