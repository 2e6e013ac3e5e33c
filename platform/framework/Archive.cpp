#include "Archive.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
// A corrupt length must not make us allocate it at once: strings are read in pieces of this size.
constexpr UINT kStringChunk = 0x10000;

} // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : m_file(file), m_mode(mode), m_bufferSize(static_cast<size_t>(std::max(bufferSize, 128)))
{
    if (!m_file)
        AfxThrowArchiveException(CArchiveException::genericException);
    if (IsStoring())
        m_buffer.reserve(m_bufferSize);
}

CArchive::~CArchive()
{
    if (m_closed || IsLoading() || (m_mode & bNoFlushOnDelete))
        return;
    try
    {
        Flush();
    }
    catch (CException* e)
    {
        e->Delete();
    }
}

void CArchive::CheckMode(bool storing) const
{
    if (m_closed)
        AfxThrowArchiveException(CArchiveException::genericException);
    if (storing && IsLoading())
        AfxThrowArchiveException(CArchiveException::readOnly);
    if (!storing && IsStoring())
        AfxThrowArchiveException(CArchiveException::writeOnly);
}

void CArchive::Flush()
{
    if (IsLoading() || m_buffer.empty())
        return;
    m_file->Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
    m_buffer.clear();
}

void CArchive::Close()
{
    if (m_closed)
        return;
    Flush();
    m_closed = true;
}

void CArchive::Abort()
{
    m_buffer.clear();
    m_closed = true;
}

void CArchive::Write(const void* buffer, UINT count)
{
    CheckMode(true);
    const auto* bytes = static_cast<const BYTE*>(buffer);
    m_buffer.insert(m_buffer.end(), bytes, bytes + count);
    if (m_buffer.size() >= m_bufferSize)
        Flush();
}

void CArchive::FillBuffer()
{
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_bufferPos));
    m_bufferPos = 0;
    const size_t old = m_buffer.size();
    m_buffer.resize(old + m_bufferSize);
    const UINT got = m_file->Read(m_buffer.data() + old, static_cast<UINT>(m_bufferSize));
    m_buffer.resize(old + got);
}

UINT CArchive::Read(void* buffer, UINT count)
{
    CheckMode(false);
    auto* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count)
    {
        if (m_bufferPos == m_buffer.size())
        {
            FillBuffer();
            if (m_buffer.empty())
                break;
        }
        const size_t take = std::min<size_t>(count - done, m_buffer.size() - m_bufferPos);
        std::memcpy(out + done, m_buffer.data() + m_bufferPos, take);
        m_bufferPos += take;
        done += static_cast<UINT>(take);
    }
    return done;
}

void CArchive::ReadExactly(void* buffer, UINT count)
{
    if (Read(buffer, count) != count)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

CArchive& CArchive::operator<<(const CString& text)
{
    WriteStringLength(static_cast<ULONGLONG>(text.GetLength()));
    Write(text.GetString(), static_cast<UINT>(text.GetLength()));
    return *this;
}

CArchive& CArchive::operator>>(CString& text)
{
    const ULONGLONG length = ReadStringLength();
    std::string value;
    for (ULONGLONG left = length; left > 0;)
    {
        const UINT piece = static_cast<UINT>(std::min<ULONGLONG>(left, kStringChunk));
        const size_t at = value.size();
        value.resize(at + piece);
        ReadExactly(value.data() + at, piece);
        left -= piece;
    }
    text = CString(std::move(value));
    return *this;
}

void CArchive::WriteStringLength(ULONGLONG length)
{
    if (length < 255)
    {
        *this << static_cast<BYTE>(length);
        return;
    }
    *this << static_cast<BYTE>(0xFF);
    if (length < 0xFFFE)
    {
        *this << static_cast<WORD>(length);
        return;
    }
    *this << static_cast<WORD>(0xFFFF);
    if (length < 0xFFFFFFFF)
    {
        *this << static_cast<UINT>(length);
        return;
    }
    *this << static_cast<UINT>(0xFFFFFFFF) << length;
}

ULONGLONG CArchive::ReadStringLength()
{
    BYTE byteLength;
    *this >> byteLength;
    if (byteLength < 0xFF)
        return byteLength;
    WORD wordLength;
    *this >> wordLength;
    // 0xFFFE marks a string of 16-bit characters, which this 8-bit archive does not hold.
    if (wordLength == 0xFFFE)
        AfxThrowArchiveException(CArchiveException::genericException);
    if (wordLength < 0xFFFF)
        return wordLength;
    UINT dwordLength;
    *this >> dwordLength;
    if (dwordLength < 0xFFFFFFFF)
        return dwordLength;
    ULONGLONG longLength;
    *this >> longLength;
    return longLength;
}

void CArchive::WriteCount(DWORD_PTR count)
{
    if (count < 0xFFFF)
    {
        *this << static_cast<WORD>(count);
        return;
    }
    *this << static_cast<WORD>(0xFFFF) << static_cast<UINT>(count);
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wordCount;
    *this >> wordCount;
    if (wordCount != 0xFFFF)
        return wordCount;
    UINT dwordCount;
    *this >> dwordCount;
    return dwordCount;
}

void CArchive::MapStored(const void* key)
{
    if (m_mapCount >= kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex);
    m_storeMap[key] = m_mapCount++;
}

void CArchive::WriteClass(const CRuntimeClass* rtc)
{
    CheckMode(true);
    if (!rtc || rtc->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();
    if (const auto it = m_storeMap.find(rtc); it != m_storeMap.end())
    {
        if (it->second < kBigObjectTag)
            *this << static_cast<WORD>(kClassTag | it->second);
        else
            *this << kBigObjectTag << static_cast<UINT>(kBigClassTag | it->second);
        return;
    }
    *this << kNewClassTag << static_cast<WORD>(rtc->m_wSchema);
    const WORD nameLength = static_cast<WORD>(std::strlen(rtc->m_lpszClassName));
    *this << nameLength;
    Write(rtc->m_lpszClassName, nameLength);
    MapStored(rtc);
}

void CArchive::WriteObject(const CObject* object)
{
    CheckMode(true);
    if (!object)
    {
        *this << kNullTag;
        return;
    }
    if (const auto it = m_storeMap.find(object); it != m_storeMap.end())
    {
        if (it->second < kBigObjectTag)
            *this << static_cast<WORD>(it->second);
        else
            *this << kBigObjectTag << static_cast<UINT>(it->second);
        return;
    }
    WriteClass(object->GetRuntimeClass());
    MapStored(object);
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* expected, UINT* schema, DWORD* objectTag)
{
    CheckMode(false);
    WORD tag;
    *this >> tag;
    DWORD fullTag;
    if (tag == kBigObjectTag)
    {
        UINT bigTag;
        *this >> bigTag;
        fullTag = bigTag;
    }
    else
    {
        fullTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag);
    }
    if (!(fullTag & kBigClassTag))
    {
        // Not a class: a reference to an object read before (or null).
        if (objectTag)
            *objectTag = fullTag;
        return nullptr;
    }

    const CRuntimeClass* rtc = nullptr;
    UINT loadedSchema = 0;
    if (tag == kNewClassTag)
    {
        WORD storedSchema, nameLength;
        *this >> storedSchema >> nameLength;
        std::string name(nameLength, '\0');
        ReadExactly(name.data(), nameLength);
        rtc = CRuntimeClass::FromName(name.c_str());
        if (!rtc || !rtc->m_pfnCreateObject)
            AfxThrowArchiveException(CArchiveException::badClass);
        if (rtc->m_wSchema != storedSchema)
            AfxThrowArchiveException(CArchiveException::badSchema);
        loadedSchema = storedSchema;
        if (m_mapCount >= kMaxMapCount)
            AfxThrowArchiveException(CArchiveException::badIndex);
        m_loadArray.push_back({rtc, nullptr});
        ++m_mapCount;
    }
    else
    {
        const DWORD index = fullTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].rtc)
            AfxThrowArchiveException(CArchiveException::badIndex);
        rtc = m_loadArray[index].rtc;
        loadedSchema = rtc->m_wSchema;
    }
    if (expected && !rtc->IsDerivedFrom(expected))
        AfxThrowArchiveException(CArchiveException::badClass);
    if (schema)
        *schema = loadedSchema;
    if (objectTag)
        *objectTag = fullTag;
    return rtc;
}

CObject* CArchive::ReadObject(const CRuntimeClass* expected)
{
    UINT schema = 0;
    DWORD tag = 0;
    const CRuntimeClass* rtc = ReadClass(expected, &schema, &tag);
    if (!rtc)
    {
        if (tag == 0)
            return nullptr;
        if (tag >= m_loadArray.size() || !m_loadArray[tag].object)
            AfxThrowArchiveException(CArchiveException::badIndex);
        CObject* known = m_loadArray[tag].object;
        if (expected && !known->IsKindOf(expected))
            AfxThrowArchiveException(CArchiveException::badClass);
        return known;
    }
    CObject* object = rtc->CreateObject();
    if (!object)
        AfxThrowMemoryException();
    const size_t slot = m_loadArray.size();
    m_loadArray.push_back({nullptr, object});
    ++m_mapCount;
    m_objectSchema = schema;
    try
    {
        object->Serialize(*this);
    }
    catch (...)
    {
        // The caller never received it: it is ours to free.
        m_loadArray[slot].object = nullptr;
        delete object;
        throw;
    }
    return object;
}

UINT CArchive::GetObjectSchema()
{
    const UINT schema = m_objectSchema;
    m_objectSchema = static_cast<UINT>(-1);
    return schema;
}
