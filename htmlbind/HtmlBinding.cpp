#include "HtmlBinding.h"

using tvsk::web::DomDocument;
using tvsk::web::DomElement;

CHtmlBinding::Lists::~Lists()
{
    controls.clear();
    hiddens.clear();
    radioGroups.clear();
}

void CHtmlBinding::Lists::Disconnect()
{
    for (const auto& control : controls)
        control->Disconnect();
    for (const auto& group : radioGroups)
        group->Disconnect();
}

template <class Ctrl> void CHtmlBinding::AddControl(DomDocument& document, DomElement& element)
{
    auto control = std::make_unique<Ctrl>();
    control->SetDocument(&document);
    control->SetManager(&m_owner);
    if (control->Attach(&element))
        m_controls.Add(control.release());
}

bool CHtmlBinding::ScanDocument(DomDocument& document)
{
    m_owner.SetCurrentElement(nullptr);
    for (size_t i = 0; i < document.ElementCount(); ++i)
    {
        DomElement& element = *document.ElementAt(i);
        const std::string& tag = element.TagName();
        if (tag == "INPUT")
        {
            if (!AddInputElement(document, &element))
                break;
        }
        else if (tag == "SELECT")
            AddControl<CHtmlSelectCtrl>(document, element);
        else if (tag == "IMG")
            AddControl<CHtmlImgCtrl>(document, element);
        else if (tag == "PRE")
            AddControl<CHtmlPreCtrl>(document, element);
        else if (tag == "BODY")
            AddControl<CHtmlBodyCtrl>(document, element);
        else if (tag == "A")
            AddControl<CHtmlAnchorCtrl>(document, element);
        else if (tag == "P")
            AddControl<CHtmlParaCtrl>(document, element);
        else if (tag == "TITLE")
            AddControl<CHtmlTitleCtrl>(document, element);
    }
    for (int i = 0; i < m_controls.GetCount(); ++i)
        if (CHtmlElemCtrl* control = m_controls.GetAt(i); !control->Name().empty())
            control->AfterScan();
    return true;
}

int CHtmlBinding::AddInputElement(DomDocument& document, DomElement* element)
{
    if (!element)
        return 0;
    switch (InputKindOf(*element))
    {
    case HTMLCTRL_HIDDEN:
    {
        auto hidden = std::make_unique<CHtmlHiddenCtrl>();
        if (hidden->Attach(element))
            m_hiddens.Add(hidden.release());
        break;
    }
    case HTMLCTRL_TEXT:
        AddControl<CHtmlTextCtrl>(document, *element);
        break;
    case HTMLCTRL_BUTTON:
        AddControl<CHtmlButtonCtrl>(document, *element);
        break;
    case HTMLCTRL_RADIO:
    {
        auto radio = std::make_unique<CHtmlRadioCtrl>();
        radio->SetDocument(&document);
        radio->SetManager(&m_owner);
        if (radio->Attach(element))
            AddRadio(std::move(radio));
        break;
    }
    case HTMLCTRL_CHECKBOX:
        AddControl<CHtmlCheckboxCtrl>(document, *element);
        break;
    default:
        break;
    }
    return 1;
}

void CHtmlBinding::AddRadio(std::unique_ptr<CHtmlElemCtrl> radio)
{
    if (CHtmlRadioGroup* group = FindRadioGroup(radio->Name()))
    {
        group->Members().Add(radio.release());
        return;
    }
    auto group = std::make_unique<CHtmlRadioGroup>(radio->Name());
    group->Members().Add(radio.release());
    m_radioGroups.Add(group.release());
}

CHtmlElemCtrl* CHtmlBinding::FindControl(const std::string& name, int& index) const
{
    for (int i = index < 0 ? 0 : index; i < m_controls.GetCount(); ++i)
    {
        CHtmlElemCtrl* control = m_controls.GetAt(i);
        if (control && control->Name() == name)
        {
            index = i;
            return control;
        }
    }
    return nullptr;
}

CHtmlElemCtrl* CHtmlBinding::NextControl(const std::string& name, int& index) const
{
    CHtmlElemCtrl* control = FindControl(name, index);
    if (!control || index + 1 >= m_controls.GetCount())
        index = -1;
    else
        ++index;
    return control;
}

CHtmlRadioGroup* CHtmlBinding::FindRadioGroup(const std::string& name) const
{
    for (int i = 0; i < m_radioGroups.GetCount(); ++i)
        if (CHtmlRadioGroup* group = m_radioGroups.GetAt(i); group->Name() == name)
            return group;
    return nullptr;
}

CHtmlHiddenCtrl* CHtmlBinding::FindHidden(const std::string& name) const
{
    for (int i = 0; i < m_hiddens.GetCount(); ++i)
        if (CHtmlHiddenCtrl* hidden = m_hiddens.GetAt(i); hidden->Name() == name)
            return hidden;
    return nullptr;
}

CHtmlBinding::Lists CHtmlBinding::TakeAll()
{
    Lists lists;
    lists.controls = m_controls.TakeAll();
    lists.hiddens = m_hiddens.TakeAll();
    lists.radioGroups = m_radioGroups.TakeAll();
    return lists;
}
