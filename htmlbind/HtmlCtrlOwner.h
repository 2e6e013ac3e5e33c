// What an element wrapper needs of the manager that owns it.
#pragma once

#include "JyHtml2.h"

#include <initializer_list>
#include <optional>
#include <string>

class CHtmlElemCtrl;

class CHtmlCtrlOwner
{
public:
    virtual ~CHtmlCtrlOwner() = default;
    // The value of key in the list of the hidden input called name; none when either is missing.
    virtual std::optional<std::string> HiddenAttribute(const std::string& name, const std::string& key) = 0;
    // Fires an event of _IJyHtml2MngEvents, arguments in natural order.
    virtual void FireEvent(DISPID id, std::initializer_list<VARIANT> arguments = {}) = 0;
    // The text input whose Enter is being reported (null afterwards).
    virtual void SetCurrentElement(CHtmlElemCtrl* element) = 0;
    // Brackets the handling of one page event: what the host drops meanwhile is deleted at the end.
    virtual void EnterEvent() = 0;
    virtual void LeaveEvent() = 0;
    // The component object of the bound page, for the element objects handed out.
    virtual IUnknown* DocumentObject() = 0;
};
