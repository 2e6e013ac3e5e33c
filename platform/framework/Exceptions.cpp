#include "Exceptions.h"
#include "CString.h"

#include <cerrno>
#include <cstring>

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

bool CException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    if (buffer && maxChars)
        buffer[0] = '\0';
    return false;
}

bool CMemoryException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    CopyTextCut(buffer, maxChars, "Out of memory.");
    return true;
}

CFileException::CFileException(int cause, long osError, const char* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName{}
{
    CopyTextCut(m_strFileName, fileName ? fileName : "");
}

bool CFileException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    const CString text = FormatString(
        "%s: %s", m_strFileName, m_lOsError > 0 ? std::strerror(static_cast<int>(m_lOsError)) : "file error");
    CopyTextCut(buffer, maxChars, text);
    return true;
}

int CFileException::OsErrorToCause(int err) noexcept
{
    switch (err)
    {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ENOSPC:
        return diskFull;
    case EIO:
        return hardIO;
    case ESPIPE:
        return badSeek;
    case EWOULDBLOCK:
        return lockViolation;
    default:
        return genericException;
    }
}

void AfxThrowMemoryException()
{
    static CMemoryException shared(false);
    throw &shared;
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AfxThrowFileException(int cause, long osError, const char* fileName)
{
    throw new CFileException(cause, osError, fileName);
}

void AfxThrowArchiveException(int cause)
{
    throw new CArchiveException(cause);
}
