// Framework exceptions. They are thrown by pointer; the catcher frees them with Delete().
#pragma once

#include "WinTypes.h"

class CException
{
public:
    explicit CException(bool autoDelete = true) : m_bAutoDelete(autoDelete) {}
    virtual ~CException() = default;
    // Frees a heap-thrown exception; shared static ones ignore it.
    virtual void Delete();
    virtual bool GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const;

protected:
    bool m_bAutoDelete;
};

class CMemoryException : public CException
{
public:
    using CException::CException;
    bool GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

class CNotSupportedException : public CException
{
public:
    using CException::CException;
};

class CFileException : public CException
{
public:
    enum Cause
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = none, long osError = -1, const char* fileName = nullptr);
    bool GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
    static int OsErrorToCause(int err) noexcept;

    int m_cause;
    long m_lOsError;
    char m_strFileName[MAX_PATH + 1];
};

class CArchiveException : public CException
{
public:
    enum Cause
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };
    explicit CArchiveException(int cause = none) : m_cause(cause) {}
    int m_cause;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowFileException(int cause, long osError = -1, const char* fileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause);
