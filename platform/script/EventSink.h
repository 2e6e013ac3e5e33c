// Receives a named item's events and calls the script's Sub <item>_<event> with their arguments.
#pragma once

#include "ScriptEngine.h"

#include <com/TypeDescription.h>

namespace tvsk::script
{

class EventSink final : public com::ComObject<IDispatch>
{
public:
    // events describes the item's default source interface (the names of its event ids).
    EventSink(ScriptEngine& engine, std::u16string itemName, const com::InterfaceDescription& events);

    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    // DISP_E_MEMBERNOTFOUND when the script has no Sub for the event.
    HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override;

    const IID& EventIid() const { return m_iid; }

private:
    ComPtr<IActiveScript> m_keepEngine;
    ScriptEngine& m_engine;
    std::u16string m_item;
    IID m_iid;
    std::vector<std::pair<DISPID, std::u16string>> m_handlers; // event id -> "<item>_<event>"
};

} // namespace tvsk::script
