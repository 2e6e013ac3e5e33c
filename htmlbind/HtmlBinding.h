// The bound elements of a page: the scan that wraps them and the lookups by name.
#pragma once

#include "HtmlCtrlArray.h"
#include "HtmlCtrls.h"
#include "HtmlRadioGroup.h"

class CHtmlBinding
{
public:
    // What a reset takes away, to be deleted now or once the current page event is done.
    struct Lists
    {
        std::vector<std::unique_ptr<CHtmlElemCtrl>> controls;
        std::vector<std::unique_ptr<CHtmlHiddenCtrl>> hiddens;
        std::vector<std::unique_ptr<CHtmlRadioGroup>> radioGroups;
        Lists() = default;
        Lists(Lists&&) = default;
        Lists& operator=(Lists&&) = default;
        // Deletes the controls, the hidden inputs and the radio groups, in this order.
        ~Lists();
        void Disconnect();
    };

    explicit CHtmlBinding(CHtmlCtrlOwner& owner) : m_owner(owner) {}

    // Wraps the document's elements, appending to the lists, then runs the attribute pass.
    bool ScanDocument(tvsk::web::DomDocument& document);
    // Classifies one INPUT; 0 for a null element.
    int AddInputElement(tvsk::web::DomDocument& document, tvsk::web::DomElement* element);

    // First control of that name at or after index; index becomes its position.
    CHtmlElemCtrl* FindControl(const std::string& name, int& index) const;
    // As FindControl, then index moves past it, or becomes -1 when nothing is left.
    CHtmlElemCtrl* NextControl(const std::string& name, int& index) const;
    CHtmlRadioGroup* FindRadioGroup(const std::string& name) const;
    CHtmlHiddenCtrl* FindHidden(const std::string& name) const;

    const CHtmlCtrlArray<CHtmlElemCtrl>& Controls() const noexcept { return m_controls; }
    const CHtmlCtrlArray<CHtmlRadioGroup>& RadioGroups() const noexcept { return m_radioGroups; }
    int HiddenCount() const noexcept { return m_hiddens.GetCount(); }

    // Empties the control, hidden and radio group lists, in this order.
    Lists TakeAll();

private:
    // Creates, attaches and files the wrapper of a non-input tag.
    template <class Ctrl> void AddControl(tvsk::web::DomDocument& document, tvsk::web::DomElement& element);
    void AddRadio(std::unique_ptr<CHtmlElemCtrl> radio);

    CHtmlCtrlOwner& m_owner;
    CHtmlCtrlArray<CHtmlElemCtrl> m_controls;
    CHtmlCtrlArray<CHtmlRadioGroup> m_radioGroups;
    CHtmlCtrlArray<CHtmlHiddenCtrl> m_hiddens;
};
