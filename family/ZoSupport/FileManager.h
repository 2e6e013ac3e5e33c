// File system services: the process's current folder.
#pragma once

#include <framework/CString.h>

class CFileManager
{
public:
    // The current folder without a trailing separator; empty when it cannot be had.
    CString GetCurrentDirectory() const;
};
