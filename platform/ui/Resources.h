// Resources compiled into a module (images, raw data) found by id and type, as tables in code.
#pragma once

#include <framework/WinTypes.h>

#include <cstddef>

constexpr const char* RT_BITMAP = "BITMAP";

struct ResourceData
{
    const void* data;
    size_t size;
};

// Registers bytes that live as long as the module (null: the program); FALSE when the module already
// has a block of that id and type.
BOOL AfxRegisterResource(UINT id, const char* type, const void* data, size_t size,
                         HINSTANCE module = nullptr);
// Looks in the current resource module first, then in the program's, then in any module; null when
// nothing is registered under the id and type (types compare without case).
const ResourceData* AfxFindResource(UINT id, const char* type);
// Removes a registration (a module that is unloaded takes its resources with it).
void AfxUnregisterResource(UINT id, const char* type, HINSTANCE module = nullptr);

// The module whose resources are looked up first (null: the program). Plug-ins whose ids may clash
// with another module's set it while their windows are made.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// Makes a module the current resource module for the scope's lifetime.
class CResourceModuleScope
{
public:
    explicit CResourceModuleScope(HINSTANCE module) : m_previous(AfxGetResourceHandle())
    {
        AfxSetResourceHandle(module);
    }
    ~CResourceModuleScope() { AfxSetResourceHandle(m_previous); }
    CResourceModuleScope(const CResourceModuleScope&) = delete;
    CResourceModuleScope& operator=(const CResourceModuleScope&) = delete;

private:
    HINSTANCE m_previous;
};
