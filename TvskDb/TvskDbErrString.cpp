#include "TvskDbErrString.h"

#include <ZoSupport/ZoSupport.h>

void CTvskDbErrString::CreateErrorString(CTextDbException* e)
{
    if (!e)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return;
    }
    m_strFile = e->m_strFileName;
    m_nLine = e->m_nLine;
    m_nType = e->m_nErrType;
    m_strError.Format("\nFile : %s\nL : %d\nT : %d\nInfo : %s", e->m_strFileName.GetString(), e->m_nLine,
                      e->m_nErrType, e->m_strInfo.GetString());
}
