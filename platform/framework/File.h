// Binary and text files over POSIX descriptors. No newline translation: text is read and
// written as it stands, and ReadString drops a trailing "\r\n" or "\n".
#pragma once

#include "CString.h"
#include "Exceptions.h"
#include "Object.h"

#include <string_view>

// Files beyond this size are refused before they are read: none that the system reads comes near
// it, and reading one would take its size and more in memory.
constexpr ULONGLONG kMaxInputFileSize = 16ull << 20;
// False when the file at path is no regular file (a device or pipe has no end to wait for) or is
// larger than limit; true when it cannot be examined, so that opening it tells why.
bool FitsForReading(const char* path, ULONGLONG limit = kMaxInputFileSize);

class CFile : public CObject
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition
    {
        begin = 0,
        current = 1,
        end = 2
    };

    CFile() = default;
    CFile(const char* fileName, UINT openFlags); // throws CFileException* on failure
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    ~CFile() override;

    // Opens the file; a file opened for reading only is found case-insensitively when the exact
    // name does not exist. Fills error (when given) and returns false on failure.
    virtual bool Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
    virtual UINT Read(void* buffer, UINT count);        // throws on I/O error
    virtual void Write(const void* buffer, UINT count); // throws on I/O error
    virtual void Flush();                               // flushes and syncs to disk; throws on error
    virtual void Close();                               // throws when the close reports an error
    virtual void Abort();                               // closes, ignoring errors
    ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    ULONGLONG GetLength() const;
    ULONGLONG GetPosition() const;
    void SetLength(ULONGLONG length);

    bool IsOpen() const noexcept { return m_fd >= 0; }
    CString GetFilePath() const { return m_path; }
    CString GetFileName() const;

    static void Remove(const char* fileName);                     // throws on failure
    static void Rename(const char* oldName, const char* newName); // throws on failure
    // The temporary file a save writes beside its target before renaming it over the target:
    // "<target>.~<process id>".
    static CString SaveTempName(const char* target);
    // Removes the temporaries of target that saves of ended processes (or of this one) left.
    static void RemoveStaleSaveTemps(const char* target);
    // Writes text to the target's temporary, flushes it to disk and renames it over the target
    // (mode 0644): false, with the target as it was, when any step fails.
    static bool SaveWhole(const char* target, std::string_view text);

protected:
    int m_fd = -1;
    CString m_path;
};

class CStdioFile : public CFile
{
public:
    CStdioFile() = default;
    CStdioFile(const char* fileName, UINT openFlags) : CFile(fileName, openFlags) {}

    // Next line without its line end; false at the end of the file.
    virtual bool ReadString(CString& line);
    virtual void WriteString(const char* text);
    UINT Read(void* buffer, UINT count) override;
    ULONGLONG GetPositionBuffered() const;
    void Close() override;
    void Abort() override;

private:
    bool FillBuffer();
    std::string m_buffer;
    size_t m_bufferPos = 0;
};

// The path of an existing file: the name itself when it exists, else the first entry that
// matches it case-insensitively, component by component; the name itself when nothing matches.
CString ResolveFileName(const char* fileName);

// True when a regular file or directory of that name exists (after case-insensitive resolution).
bool FileExists(const char* fileName);
