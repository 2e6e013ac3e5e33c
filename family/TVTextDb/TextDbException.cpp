#include "TextDbException.h"

bool CTextDbException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    if (!buffer || maxChars == 0)
        return false;
    CopyTextCut(buffer, maxChars,
                FormatString("%s(%d): %s", m_strFileName.GetString(), m_nLine, m_strInfo.GetString()));
    return true;
}
