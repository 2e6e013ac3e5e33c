// Binary archive over a file in the framework's format: little-endian values, length-prefixed strings,
// objects by class name.
#pragma once

#include "CString.h"
#include "File.h"
#include "Object.h"

#include <unordered_map>
#include <vector>

class CArchive
{
public:
    enum Mode : UINT
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2
    };

    // The file stays open and owned by the caller; a storing archive writes it at Flush or Close.
    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    // Flushes a storing archive that was not closed; errors there are lost, so callers Close.
    ~CArchive();

    bool IsLoading() const noexcept { return (m_mode & load) != 0; }
    bool IsStoring() const noexcept { return !IsLoading(); }
    CFile* GetFile() const noexcept { return m_file; }

    void Flush();
    void Close();
    // Ends the archive without writing what is still buffered.
    void Abort();

    // Raw bytes. Read answers how many it got (fewer only at the end of the file).
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    CArchive& operator<<(BYTE v) { return WriteValue(v); }
    CArchive& operator<<(char v) { return WriteValue(v); }
    CArchive& operator<<(WORD v) { return WriteValue(v); }
    CArchive& operator<<(SHORT v) { return WriteValue(v); }
    CArchive& operator<<(UINT v) { return WriteValue(v); }
    CArchive& operator<<(int v) { return WriteValue(v); }
    CArchive& operator<<(LONGLONG v) { return WriteValue(v); }
    CArchive& operator<<(ULONGLONG v) { return WriteValue(v); }
    CArchive& operator<<(float v) { return WriteValue(v); }
    CArchive& operator<<(double v) { return WriteValue(v); }
    CArchive& operator<<(const CString& text);

    CArchive& operator>>(BYTE& v) { return ReadValue(v); }
    CArchive& operator>>(char& v) { return ReadValue(v); }
    CArchive& operator>>(WORD& v) { return ReadValue(v); }
    CArchive& operator>>(SHORT& v) { return ReadValue(v); }
    CArchive& operator>>(UINT& v) { return ReadValue(v); }
    CArchive& operator>>(int& v) { return ReadValue(v); }
    CArchive& operator>>(LONGLONG& v) { return ReadValue(v); }
    CArchive& operator>>(ULONGLONG& v) { return ReadValue(v); }
    CArchive& operator>>(float& v) { return ReadValue(v); }
    CArchive& operator>>(double& v) { return ReadValue(v); }
    CArchive& operator>>(CString& text);

    // String length prefix: one byte below 255, else 0xFF and a 16-bit length below 0xFFFE,
    // else 0xFF, 0xFFFF and a 32-bit length.
    void WriteStringLength(ULONGLONG length);
    ULONGLONG ReadStringLength();

    // Element counts: 16 bits below 0xFFFF, else 0xFFFF and 32 bits.
    void WriteCount(DWORD_PTR count);
    DWORD_PTR ReadCount();

    // Objects by class: a new class is written as the tag 0xFFFF, its schema, its name; later
    // references to the class or the object are indexes into what was written before.
    void WriteObject(const CObject* object);
    // Null for a null reference; throws CArchiveException* for an unknown class, a schema that
    // differs from the class's, an object not of the expected class or a bad index.
    CObject* ReadObject(const CRuntimeClass* expected);
    void WriteClass(const CRuntimeClass* rtc);
    const CRuntimeClass* ReadClass(const CRuntimeClass* expected = nullptr, UINT* schema = nullptr,
                                   DWORD* objectTag = nullptr);

    // The schema of the object being loaded; -1 after the first call.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT schema) { m_objectSchema = schema; }

private:
    template <class T> CArchive& WriteValue(T v)
    {
        // The archive is little-endian like the machines it runs on.
        Write(&v, sizeof v);
        return *this;
    }
    template <class T> CArchive& ReadValue(T& v)
    {
        ReadExactly(&v, sizeof v);
        return *this;
    }
    void ReadExactly(void* buffer, UINT count);
    void FillBuffer();
    void CheckMode(bool storing) const;
    void MapStored(const void* key);

    CFile* m_file;
    UINT m_mode;
    size_t m_bufferSize;
    std::vector<BYTE> m_buffer;
    size_t m_bufferPos = 0; // loading: next byte to hand out
    bool m_closed = false;
    UINT m_objectSchema = static_cast<UINT>(-1);
    DWORD m_mapCount = 1; // index 0 is the null reference
    std::unordered_map<const void*, DWORD> m_storeMap;
    struct LoadEntry
    {
        const CRuntimeClass* rtc; // set for a class entry
        CObject* object;          // set for an object entry
    };
    std::vector<LoadEntry> m_loadArray{LoadEntry{nullptr, nullptr}};
};

inline CArchive& operator<<(CArchive& ar, const CObject* object)
{
    ar.WriteObject(object);
    return ar;
}

inline CArchive& operator>>(CArchive& ar, CObject*& object)
{
    object = ar.ReadObject(nullptr);
    return ar;
}
