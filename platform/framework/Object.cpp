#include "Object.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace
{

struct ClassRegistry
{
    std::mutex lock;
    std::map<std::string, const CRuntimeClass*> byName;
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}

} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr,
                                             nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* rtc) const noexcept
{
    return GetRuntimeClass()->IsDerivedFrom(rtc);
}

bool CObject::IsSerializable() const noexcept
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const noexcept
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

CRuntimeClassRegistrar::CRuntimeClassRegistrar(const CRuntimeClass* rtc)
{
    ClassRegistry& r = Registry();
    const std::lock_guard guard(r.lock);
    r.byName[rtc->m_lpszClassName] = rtc;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* className) noexcept
{
    if (!className)
        return nullptr;
    ClassRegistry& r = Registry();
    const std::lock_guard guard(r.lock);
    const auto it = r.byName.find(className);
    return it == r.byName.end() ? nullptr : it->second;
}

CObject* CRuntimeClass::CreateObject(const char* className)
{
    const CRuntimeClass* rtc = FromName(className);
    return rtc ? rtc->CreateObject() : nullptr;
}
