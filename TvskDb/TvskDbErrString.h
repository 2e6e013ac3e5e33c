// The text of a database's last failed load (or, where a database saves, its last failed save).
#pragma once

#include <TVTextDb/TextDb.h>

class CTvskDbErrString
{
public:
    // "\nFile : <file>\nL : <line>\nT : <error type>\nInfo : <text>" from a syntax error.
    void CreateErrorString(CTextDbException* e);
    CString GetErrorString() const { return m_strError; }

protected:
    CString m_strError;
};
