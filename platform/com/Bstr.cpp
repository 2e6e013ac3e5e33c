// BSTR: a length-prefixed UTF-16 string; null stands for the empty string; the receiver frees.
#include "Bstr.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <malloc.h>

namespace
{

// Short strings' blocks are kept for reuse in per-thread lists by size class (16-byte steps), since
// scripts make and drop them at a high rate. A block's class comes from malloc's usable size, so any
// block from malloc may be freed here and code that grows a block in place (the script engine's
// appends) keeps working. Under AddressSanitizer every block goes back to malloc, so a use after free
// is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

constexpr size_t kStep = 16;
constexpr size_t kClasses = 16; // blocks of up to 256 bytes
constexpr std::uint8_t kKeptPerClass = 32;

struct FreeBlock
{
    FreeBlock* next;
};

struct BlockCache
{
    FreeBlock* heads[kClasses + 1];
    std::uint8_t counts[kClasses + 1];
    bool registered;
    bool closed; // the thread is ending: blocks go straight back to malloc
};

// Trivially destructible: usable while other thread-locals end. Every process that makes components
// loads this library at its start, so the cache lives in the static TLS block, read without a call.
[[gnu::tls_model("initial-exec")]] thread_local BlockCache t_cache;

void Drain()
{
    for (size_t c = 1; c <= kClasses; ++c)
        while (FreeBlock* b = t_cache.heads[c])
        {
            t_cache.heads[c] = b->next;
            std::free(b);
        }
    std::fill(std::begin(t_cache.counts), std::end(t_cache.counts), std::uint8_t{0});
}

// Gives the thread's kept blocks back to malloc when the thread ends.
struct CacheCloser
{
    ~CacheCloser()
    {
        Drain();
        t_cache.closed = true;
    }
};

[[gnu::noinline]] void CloseAtThreadEnd(BlockCache& cache)
{
    cache.registered = true;
    thread_local CacheCloser closer;
    (void)closer;
}

void* TakeBlock(size_t bytes)
{
    if (kPooled && bytes <= kClasses * kStep)
    {
        BlockCache& cache = t_cache;
        const size_t c = (bytes + kStep - 1) / kStep;
        if (FreeBlock* b = cache.heads[c])
        {
            cache.heads[c] = b->next;
            --cache.counts[c];
            return b;
        }
        return std::malloc(c * kStep);
    }
    return std::malloc(bytes);
}

void GiveBlock(void* block)
{
    if (kPooled)
    {
        BlockCache& cache = t_cache;
        const size_t c = malloc_usable_size(block) / kStep;
        if (c >= 1 && c <= kClasses && cache.counts[c] < kKeptPerClass && !cache.closed)
        {
            if (!cache.registered)
                CloseAtThreadEnd(cache);
            auto* b = static_cast<FreeBlock*>(block);
            b->next = cache.heads[c];
            cache.heads[c] = b;
            ++cache.counts[c];
            return;
        }
    }
    std::free(block);
}

// A block holds the number of holders, the byte length (the 4 bytes before the characters), the
// characters and a zero character.
constexpr size_t kHeader = 2 * sizeof(DWORD);

BYTE* BlockOf(BSTR text)
{
    return reinterpret_cast<BYTE*>(text) - kHeader;
}

std::uint32_t* HoldersOf(BSTR text)
{
    return reinterpret_cast<std::uint32_t*>(BlockOf(text));
}

BSTR AllocateBytes(UINT byteLength)
{
    if (byteLength > std::numeric_limits<UINT>::max() - kHeader - 2 * sizeof(OLECHAR))
        return nullptr;
    auto* block = static_cast<BYTE*>(TakeBlock(kHeader + byteLength + 2 * sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    const std::uint32_t holders = 1;
    const DWORD length = byteLength;
    std::memcpy(block, &holders, sizeof holders);
    std::memcpy(block + sizeof holders, &length, sizeof length);
    std::memset(block + kHeader + byteLength, 0, 2 * sizeof(OLECHAR));
    return reinterpret_cast<BSTR>(block + kHeader);
}

size_t OleLength(const OLECHAR* text)
{
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80)
        out += static_cast<char>(c);
    else if (c < 0x800)
    {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else if (c < 0x10000)
    {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

BSTR SysAllocString(const OLECHAR* text)
{
    return text ? SysAllocStringLen(text, static_cast<UINT>(OleLength(text))) : nullptr;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length)
{
    if (length > std::numeric_limits<UINT>::max() / sizeof(OLECHAR))
        return nullptr;
    BSTR s = AllocateBytes(length * sizeof(OLECHAR));
    if (s)
    {
        if (text)
            std::memcpy(s, text, length * sizeof(OLECHAR));
        else
            std::memset(s, 0, length * sizeof(OLECHAR));
    }
    return s;
}

BSTR SysAllocStringByteLen(const char* bytes, UINT length)
{
    BSTR s = AllocateBytes(length);
    if (s)
    {
        if (bytes)
            std::memcpy(s, bytes, length);
        else
            std::memset(s, 0, length);
    }
    return s;
}

BOOL SysReAllocString(BSTR* target, const OLECHAR* text)
{
    if (!target)
        return FALSE;
    BSTR fresh = SysAllocString(text);
    if (text && !fresh)
        return FALSE;
    SysFreeString(*target);
    *target = fresh;
    return TRUE;
}

void SysFreeString(BSTR text)
{
    if (!text)
        return;
    // The only holder needs no atomic decrement: nobody else can share the block meanwhile.
    std::uint32_t* holders = HoldersOf(text);
    if (__atomic_load_n(holders, __ATOMIC_ACQUIRE) == 1 ||
        __atomic_sub_fetch(holders, 1, __ATOMIC_ACQ_REL) == 0)
        GiveBlock(BlockOf(text));
}

UINT SysStringByteLen(BSTR text)
{
    if (!text)
        return 0;
    DWORD length = 0;
    std::memcpy(&length, reinterpret_cast<BYTE*>(text) - sizeof(DWORD), sizeof length);
    return length;
}

UINT SysStringLen(BSTR text)
{
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

void* CoTaskMemAlloc(size_t bytes)
{
    return std::malloc(bytes ? bytes : 1);
}

void CoTaskMemFree(void* memory)
{
    std::free(memory);
}

namespace tvsk::com
{

BSTR ShareBstr(BSTR text)
{
    if (text)
        __atomic_add_fetch(HoldersOf(text), 1, __ATOMIC_RELAXED);
    return text;
}

bool BstrShared(BSTR text)
{
    return text && __atomic_load_n(HoldersOf(text), __ATOMIC_ACQUIRE) > 1;
}

UINT BstrCapacity(BSTR text)
{
    if (!text)
        return 0;
    const size_t bytes = malloc_usable_size(BlockOf(text)) - kHeader;
    return static_cast<UINT>(std::min<size_t>(bytes / sizeof(OLECHAR) - 1, std::numeric_limits<UINT>::max()));
}

void SetBstrLength(BSTR text, UINT length)
{
    const DWORD bytes = length * sizeof(OLECHAR);
    std::memcpy(reinterpret_cast<BYTE*>(text) - sizeof bytes, &bytes, sizeof bytes);
    text[length] = 0;
}

std::u16string Utf16FromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size())
    {
        const auto b = static_cast<unsigned char>(text[i]);
        size_t extra = b < 0x80             ? 0
                       : (b & 0xE0) == 0xC0 ? 1
                       : (b & 0xF0) == 0xE0 ? 2
                       : (b & 0xF8) == 0xF0 ? 3
                                            : 4;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra < 4 && i + extra < text.size();
        for (size_t k = 1; ok && k <= extra; ++k)
        {
            const auto cont = static_cast<unsigned char>(text[i + k]);
            ok = (cont & 0xC0) == 0x80;
            c = (c << 6) | (cont & 0x3F);
        }
        const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            ok = false;
        if (!ok)
        {
            out += static_cast<char16_t>(kReplacement);
            ++i;
            continue;
        }
        if (c >= 0x10000)
        {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
        else
            out += static_cast<char16_t>(c);
        i += extra + 1;
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = kReplacement;
        AppendUtf8(out, c);
    }
    return out;
}

BSTR BstrFromUtf8(std::string_view text)
{
    const std::u16string wide = Utf16FromUtf8(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string Utf8FromBstr(BSTR text)
{
    return Utf8FromUtf16(BstrView(text));
}

std::string Utf8FromOleString(const OLECHAR* text)
{
    return text ? Utf8FromUtf16(std::u16string_view(text, OleLength(text))) : std::string();
}

} // namespace tvsk::com
