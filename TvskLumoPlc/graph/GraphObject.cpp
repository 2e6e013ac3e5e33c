#include "GraphObject.h"

#include <ZoSupport/ProgramError.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

CGraphObject* CGraphObject::ObjectAt(int x, int y)
{
    return x == m_nX && y == m_nY ? this : nullptr;
}

bool CGraphObject::MoveTo(int, int)
{
    return false;
}

bool CGraphObject::IsInside(const CRect&) const
{
    return false;
}

bool CGraphObject::CheckOwner(const char* source, int line) const
{
    if (m_pOwner)
        return true;
    ProgramError(source, line, "no owner");
    return false;
}

int CGraphObject::StepX() const
{
    return m_pOwner ? m_pOwner->GetStepX() : 1;
}

int CGraphObject::StepY() const
{
    return m_pOwner ? m_pOwner->GetStepY() : 1;
}

bool ReadDecimal(const char* text, int& value)
{
    if (!text || !*text)
        return false;
    const char* digits = (*text == '-' || *text == '+') ? text + 1 : text;
    if (!*digits)
        return false;
    for (const char* c = digits; *c; ++c)
        if (*c < '0' || *c > '9')
            return false;
    errno = 0;
    char* end = nullptr;
    const long long read = std::strtoll(text, &end, 10);
    if (errno == ERANGE || read < INT_MIN || read > INT_MAX)
        return false;
    value = static_cast<int>(read);
    return true;
}
