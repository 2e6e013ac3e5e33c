// The radio buttons of one name, bound together: the value is the checked member's.
#pragma once

#include "HtmlCtrlArray.h"
#include "HtmlElemCtrl.h"

class CHtmlRadioGroup
{
public:
    explicit CHtmlRadioGroup(std::string name) : m_name(std::move(name)) {}

    const std::string& Name() const noexcept { return m_name; }
    CHtmlCtrlArray<CHtmlElemCtrl>& Members() noexcept { return m_members; }
    const CHtmlCtrlArray<CHtmlElemCtrl>& Members() const noexcept { return m_members; }
    // The value of the first checked radio button; VT_EMPTY when none is.
    VARIANT GetValue() const;
    // Checks the first member whose value equals the given one (compared as text); the others stay.
    bool SetValue(const VARIANT& value);
    void Disconnect();

private:
    std::string m_name;
    CHtmlCtrlArray<CHtmlElemCtrl> m_members;
};
