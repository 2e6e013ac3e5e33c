#include "HtmlElemSink.h"

#include "HtmlCtrls.h"

using tvsk::web::DomEvent;
using tvsk::web::DomEventType;
using tvsk::web::kKeyEnter;
using tvsk::web::kKeyEscape;
using tvsk::web::kKeyTab;

CHtmlElemSink::~CHtmlElemSink()
{
    Disconnect();
}

bool CHtmlElemSink::Connect()
{
    if (m_source == Source::Document)
    {
        if (!m_owner.Document())
            return false;
        m_owner.Document()->AddListener(this);
    }
    else
    {
        if (!m_owner.Element())
            return false;
        m_owner.Element()->AddListener(this);
    }
    m_connected = true;
    return true;
}

bool CHtmlElemSink::Disconnect()
{
    if (!m_connected)
        return false;
    m_connected = false;
    return m_source == Source::Document ? m_owner.Document()->RemoveListener(this)
                                        : m_owner.Element()->RemoveListener(this);
}

void CHtmlElemSink::OnDomEvent(const DomEvent& event)
{
    CHtmlCtrlOwner* owner = m_owner.Owner();
    if (!owner)
    {
        OnEvent(event);
        return;
    }
    // The host may drop the binding from its handler; this sink then goes when the event is done.
    owner->EnterEvent();
    OnEvent(event);
    owner->LeaveEvent();
}

void CHtmlElemSink::OnEvent(const DomEvent& event)
{
    switch (event.type)
    {
    case DomEventType::MouseOver:
        m_owner.FireOver();
        break;
    case DomEventType::MouseOut:
        m_owner.FireOut();
        break;
    case DomEventType::Help:
        m_owner.FireHelp();
        break;
    default:
        break;
    }
}

bool CHtmlElemSink::FocusOrBlur(const DomEvent& event)
{
    if (event.type == DomEventType::Focus)
        m_owner.FireFocus();
    else if (event.type == DomEventType::Blur)
        m_owner.FireBlur();
    else
        return false;
    return true;
}

CHtmlTextSink::CHtmlTextSink(CHtmlTextCtrl& text) : CHtmlElemSink(text), m_text(text) {}

void CHtmlTextSink::OnEvent(const DomEvent& event)
{
    if (FocusOrBlur(event))
        return;
    switch (event.type)
    {
    case DomEventType::KeyDown:
        // Enter and Escape act on their key down; the key press that follows is the same keystroke.
        m_keyDown = event.keyCode == kKeyEnter || event.keyCode == kKeyEscape ? event.keyCode : 0;
        if (event.keyCode == kKeyEnter)
            m_text.TextEnter();
        else if (event.keyCode == kKeyEscape)
            m_text.TextEscape();
        break;
    case DomEventType::KeyPress:
        if (event.keyCode != 0 && event.keyCode == m_keyDown)
        {
            m_keyDown = 0;
            break;
        }
        m_keyDown = 0;
        // Tab ends the entry only as a key press: its key down comes before the focus moves.
        if (event.keyCode == kKeyEnter || event.keyCode == kKeyTab)
            m_text.TextEnter();
        else if (event.keyCode == kKeyEscape)
            m_text.TextEscape();
        break;
    case DomEventType::KeyUp:
        m_keyDown = 0;
        break;
    case DomEventType::Change:
    case DomEventType::Select:
        break;
    default:
        CHtmlElemSink::OnEvent(event);
    }
}

CHtmlSelectSink::CHtmlSelectSink(CHtmlSelectCtrl& select) : CHtmlElemSink(select), m_select(select) {}

void CHtmlSelectSink::OnEvent(const DomEvent& event)
{
    if (FocusOrBlur(event))
        return;
    switch (event.type)
    {
    case DomEventType::MouseOver:
    case DomEventType::MouseOut:
        break;
    case DomEventType::Change:
        m_select.FireSelectChange();
        break;
    default:
        CHtmlElemSink::OnEvent(event);
    }
}

CHtmlButtonSink::CHtmlButtonSink(CHtmlButtonCtrl& button) : CHtmlElemSink(button), m_button(button) {}

void CHtmlButtonSink::OnEvent(const DomEvent& event)
{
    if (FocusOrBlur(event))
        return;
    switch (event.type)
    {
    case DomEventType::Click:
        m_button.FireButton(DISPID_OnButtonClick);
        break;
    case DomEventType::MouseDown:
        m_button.FireButton(DISPID_OnButtonDown);
        break;
    case DomEventType::MouseUp:
        m_button.FireButton(DISPID_OnButtonUp);
        break;
    default:
        CHtmlElemSink::OnEvent(event);
    }
}

CHtmlImgSink::CHtmlImgSink(CHtmlImgCtrl& image) : CHtmlElemSink(image), m_image(image) {}

void CHtmlImgSink::OnEvent(const DomEvent& event)
{
    if (FocusOrBlur(event))
        return;
    switch (event.type)
    {
    case DomEventType::Click:
        m_image.HandleImageClick();
        break;
    case DomEventType::DoubleClick:
        break;
    default:
        CHtmlElemSink::OnEvent(event);
    }
}

CHtmlRadioSink::CHtmlRadioSink(CHtmlRadioCtrl& radio) : CHtmlElemSink(radio), m_radio(radio) {}

void CHtmlRadioSink::OnEvent(const DomEvent& event)
{
    if (FocusOrBlur(event))
        return;
    switch (event.type)
    {
    case DomEventType::Click:
        m_radio.FireRadioChange();
        break;
    case DomEventType::Change:
        break;
    default:
        CHtmlElemSink::OnEvent(event);
    }
}

CHtmlCheckboxSink::CHtmlCheckboxSink(CHtmlCheckboxCtrl& checkbox)
    : CHtmlElemSink(checkbox), m_checkbox(checkbox)
{
}

void CHtmlCheckboxSink::OnEvent(const DomEvent& event)
{
    if (FocusOrBlur(event))
        return;
    switch (event.type)
    {
    case DomEventType::Click:
        m_checkbox.FireCheckboxChange();
        break;
    case DomEventType::Change:
        break;
    default:
        CHtmlElemSink::OnEvent(event);
    }
}

CHtmlPreSink::CHtmlPreSink(CHtmlPreCtrl& pre) : CHtmlElemSink(pre), m_pre(pre) {}

void CHtmlPreSink::OnEvent(const DomEvent& event)
{
    if (FocusOrBlur(event))
        return;
    if (event.type == DomEventType::Click)
        m_pre.PreClick();
    else
        CHtmlElemSink::OnEvent(event);
}

CHtmlAnchorSink::CHtmlAnchorSink(CHtmlAnchorCtrl& anchor) : CHtmlElemSink(anchor), m_anchor(anchor) {}

void CHtmlAnchorSink::OnEvent(const DomEvent& event)
{
    if (FocusOrBlur(event))
        return;
    switch (event.type)
    {
    case DomEventType::Click:
        m_anchor.FireAnchorClick();
        break;
    case DomEventType::KeyUp:
        m_anchor.FireOut();
        break;
    default:
        CHtmlElemSink::OnEvent(event);
    }
}
