// Line-by-line access to a text or a file.
#include <ZoLumoPlcObj/SourceText.h>

CSourceText::~CSourceText()
{
    Close();
}

bool CSourceText::Open(const CString* text)
{
    if (!text)
        return false;
    Close();
    m_bTextMode = true;
    m_strText = *text;
    m_LineEnds.RemoveAll();
    for (int i = 0; i < m_strText.GetLength(); ++i)
        if (m_strText[i] == '\n')
            m_LineEnds.Add(static_cast<DWORD>(i));
    m_LineEnds.Add(static_cast<DWORD>(m_strText.GetLength()));
    return true;
}

bool CSourceText::Open(const char* fileName, bool load)
{
    Close();
    m_bTextMode = false;
    m_strText.Empty();
    m_LineEnds.RemoveAll();
    m_nCurLine = -1;
    m_bLoad = load;
    if (!fileName || (load && !FitsForReading(fileName)) || !CStdioFile::Open(fileName, modeRead | typeText))
        return false;
    if (load && !LoadFile())
    {
        Close();
        return false;
    }
    return true;
}

bool CSourceText::GetTextLine(int line, CString& out) const
{
    if (line < 0 || line >= GetNumLines())
        return false;
    const int begin = line == 0 ? 0 : static_cast<int>(m_LineEnds[line - 1]);
    const int end = static_cast<int>(m_LineEnds[line]);
    out.Empty();
    for (int i = begin; i < end; ++i)
        if (m_strText[i] != '\r' && m_strText[i] != '\n')
            out += m_strText[i];
    return true;
}

bool CSourceText::ReopenFile()
{
    const CString path = GetFilePath();
    CStdioFile::Close();
    m_nCurLine = -1;
    return CStdioFile::Open(path, modeRead | typeText);
}

bool CSourceText::GetLine(int line, CString& out)
{
    if (m_bTextMode)
        return GetTextLine(line, out);
    if (line < 0 || !IsOpen() || m_bLoad)
        return false;
    if (line == m_nCurLine)
    {
        out = m_strCurLine;
        return true;
    }
    // Lines are read forward only: an earlier line starts again from the top.
    if (line < m_nCurLine && !ReopenFile())
        return false;
    while (m_nCurLine < line)
    {
        if (!ReadString(m_strCurLine))
            return false;
        ++m_nCurLine;
    }
    out = m_strCurLine;
    return true;
}

bool CSourceText::GetCodeLine(int first, int offset, CString& out)
{
    return m_bTextMode && GetTextLine(first + offset, out);
}

bool CSourceText::LoadFile()
{
    return false;
}

void CSourceText::Close()
{
    if (m_bTextMode || !IsOpen())
        return;
    CStdioFile::Close();
}
