// Named shared memory (file mappings backed by the paging file) and views of it.
#pragma once

#include <kernel/Sync.h>

constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;
constexpr DWORD FILE_MAP_WRITE = 0x0002;
constexpr DWORD FILE_MAP_READ = 0x0004;
constexpr DWORD FILE_MAP_ALL_ACCESS = 0x000F001F;

// file must be INVALID_HANDLE_VALUE (the paging file). An existing mapping is opened with its
// own size and GetLastError reports ERROR_ALREADY_EXISTS. The memory of a new mapping is zero.
HANDLE CreateFileMapping(HANDLE file, SECURITY_ATTRIBUTES* attributes, DWORD protect, DWORD maximumSizeHigh,
                         DWORD maximumSizeLow, const char* name);
HANDLE OpenFileMapping(DWORD access, BOOL inheritHandle, const char* name);

// Maps bytes from offset (0 bytes: to the end). A view keeps the mapping alive after its
// handle is closed.
void* MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, size_t bytes);
BOOL UnmapViewOfFile(const void* view) noexcept;
