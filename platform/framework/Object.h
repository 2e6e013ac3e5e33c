// Base object with run-time class information and creation by class name.
#pragma once

#include "WinTypes.h"

class CArchive;
class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF when the class is not serialisable
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const noexcept;

    // Classes declared creatable register themselves under their names.
    static const CRuntimeClass* FromName(const char* className) noexcept;
    static CObject* CreateObject(const char* className);
};

// Adds a runtime class to the by-name registry at static initialisation.
struct CRuntimeClassRegistrar
{
    explicit CRuntimeClassRegistrar(const CRuntimeClass* rtc);
};

class CObject
{
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);
    bool IsKindOf(const CRuntimeClass* rtc) const noexcept;
    bool IsSerializable() const noexcept;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(cls) (&cls::class##cls)

#define DECLARE_DYNAMIC(cls)                                                                                 \
public:                                                                                                      \
    static const CRuntimeClass class##cls;                                                                   \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(cls)                                                                               \
    DECLARE_DYNAMIC(cls)                                                                                     \
    static CObject* CreateObject();

#define DECLARE_SERIAL(cls) DECLARE_DYNCREATE(cls)

#define TVSK_IMPLEMENT_RUNTIMECLASS(cls, base, schema, create)                                               \
    const CRuntimeClass cls::class##cls = {#cls, static_cast<int>(sizeof(cls)), schema, create,              \
                                           RUNTIME_CLASS(base)};                                             \
    const CRuntimeClass* cls::GetRuntimeClass() const                                                        \
    {                                                                                                        \
        return RUNTIME_CLASS(cls);                                                                           \
    }

#define IMPLEMENT_DYNAMIC(cls, base) TVSK_IMPLEMENT_RUNTIMECLASS(cls, base, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(cls, base)                                                                       \
    CObject* cls::CreateObject()                                                                             \
    {                                                                                                        \
        return new cls;                                                                                      \
    }                                                                                                        \
    TVSK_IMPLEMENT_RUNTIMECLASS(cls, base, 0xFFFF, cls::CreateObject)                                        \
    static const CRuntimeClassRegistrar tvskRegistrar_##cls(RUNTIME_CLASS(cls));

#define IMPLEMENT_SERIAL(cls, base, schema)                                                                  \
    CObject* cls::CreateObject()                                                                             \
    {                                                                                                        \
        return new cls;                                                                                      \
    }                                                                                                        \
    TVSK_IMPLEMENT_RUNTIMECLASS(cls, base, schema, cls::CreateObject)                                        \
    static const CRuntimeClassRegistrar tvskRegistrar_##cls(RUNTIME_CLASS(cls));
