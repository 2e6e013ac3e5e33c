// The text of a database's last failed load (or, where a database saves, its last failed save).
#pragma once

#include <TVTextDb/TextDb.h>

class CTvskDbErrString
{
public:
    // "\nFile : <file>\nL : <line>\nT : <error type>\nInfo : <text>" from a syntax error.
    void CreateErrorString(CTextDbException* e);
    CString GetErrorString() const { return m_strError; }
    // The parts of the last error, for a text in the user's language (type 0: none).
    const CString& GetErrorFile() const { return m_strFile; }
    int GetErrorLine() const { return m_nLine; }
    int GetErrorType() const { return m_nType; }

protected:
    CString m_strError;
    CString m_strFile;
    int m_nLine = 0;
    int m_nType = 0;
};
