// Base of every object we implement: reference counting and QueryInterface over its interfaces.
#pragma once

#include "ComBase.h"

#include <atomic>
#include <tuple>
#include <type_traits>

namespace tvsk::com
{

// Objects alive in the process, for DllCanUnloadNow.
void ModuleObjectCreated() noexcept;
void ModuleObjectDestroyed() noexcept;
long ModuleObjectCount() noexcept;

namespace detail
{
template <class I> bool ImplementsIid(REFIID iid)
{
    if (iid == I::Iid)
        return true;
    if constexpr (std::is_same_v<I, IUnknown>)
        return false;
    else
        return ImplementsIid<typename I::Base>(iid);
}
} // namespace detail

// Derive as `class CThing : public ComObject<IThing, ISupportErrorInfo>`; create with `new CThing`
// (the count starts at 0, the first QueryInterface or AddRef takes the reference). QueryInterface
// answers each listed interface and its bases; IUnknown is the first interface's.
template <class... Interfaces> class ComObject : public Interfaces...
{
public:
    ComObject() { ModuleObjectCreated(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        (void)((detail::ImplementsIid<Interfaces>(iid) && (*object = static_cast<Interfaces*>(this), true)) ||
               ...);
        if (!*object)
            *object = QueryExtraInterface(iid);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~ComObject() { ModuleObjectDestroyed(); }
    // Interfaces reached through sub-objects (a connection point, a tear-off); no reference added.
    virtual void* QueryExtraInterface(REFIID) { return nullptr; }
    IUnknown* Identity() { return static_cast<IUnknown*>(static_cast<FirstInterface*>(this)); }

private:
    using FirstInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    std::atomic<ULONG> m_references{0};
};

} // namespace tvsk::com
