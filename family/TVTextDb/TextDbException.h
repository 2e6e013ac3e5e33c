// Syntax error in a text database file, thrown by pointer and freed with Delete().
#pragma once

#include <framework/CString.h>
#include <framework/Exceptions.h>

enum TextDbError
{
    TDB_ERR_SECTION = 1,    // a data line names no registered section
    TDB_ERR_FEWFIELDS = 2,  // fewer fields than the section requires
    TDB_ERR_MANYFIELDS = 3, // more fields than the section has
    TDB_ERR_INTEGER = 4,    // a field of type integer does not hold a 32-bit integer
    TDB_ERR_DOUBLE = 5,     // a field of type double does not hold a number
    TDB_ERR_QUOTE = 6,      // a quoted field is not closed before the end of the file
    TDB_ERR_DIRECTIVE = 7,  // a "#" line is not a version line before the data
    TDB_ERR_CHARACTER = 8,  // a zero byte in the text
    // 9 is the listing reader's own (a field too long)
    TDB_ERR_CUT = 10,    // the last row has no line end: the file was cut short
    TDB_ERR_SIZE = 11,   // the file is larger than any database file
    TDB_ERR_MISSING = 12 // the file lacks the rows its kind requires (an empty file included)
};

class CTextDbException : public CException
{
public:
    CTextDbException(int line, int errorType, const char* info, const char* fileName)
        : m_nLine(line), m_nErrType(errorType), m_strInfo(info), m_strFileName(fileName)
    {
    }
    bool GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

    int m_nLine;       // from 1
    int m_nErrType;    // a TextDbError
    CString m_strInfo; // what was wrong, naming the text found
    CString m_strFileName;
};
