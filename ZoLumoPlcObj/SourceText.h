// Line-by-line access to a text held in memory or read forward from a file.
#pragma once

#include <framework/Array.h>
#include <framework/File.h>

class CSourceText : public CStdioFile
{
public:
    CSourceText() = default;
    ~CSourceText() override;

    // Text mode: keeps its own copy of the text and indexes its line ends.
    bool Open(const CString* text);
    // File mode; a file opened with load set is never readable.
    bool Open(const char* fileName, bool load);
    int GetNumLines() const { return static_cast<int>(m_LineEnds.GetSize()); }
    bool GetLine(int line, CString& out);
    bool GetCodeLine(int first, int offset, CString& out);
    bool LoadFile();
    void Close() override;

private:
    // Opening as a plain file would bypass the modes above.
    using CStdioFile::Open;

    bool GetTextLine(int line, CString& out) const;
    bool ReopenFile();

    int m_nCurLine = -1; // file mode: last line read
    CString m_strText;   // text mode: the copied text
    bool m_bLoad = false;
    bool m_bTextMode = false;
    CDWordArray m_LineEnds; // per line: index one past its last character
    CString m_strCurLine;   // file mode: the text of m_nCurLine
};
