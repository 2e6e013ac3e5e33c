// Event sinks: each turns its element's page events into the manager's events.
#pragma once

#include <web/DomEvent.h>

class CHtmlElemCtrl;
class CHtmlTextCtrl;
class CHtmlSelectCtrl;
class CHtmlButtonCtrl;
class CHtmlImgCtrl;
class CHtmlRadioCtrl;
class CHtmlCheckboxCtrl;
class CHtmlPreCtrl;
class CHtmlAnchorCtrl;

// Base rule for every event a kind does not handle itself: mouse over and out and help fire the
// wrapper's events; everything else is ignored. Listens to the wrapper's element.
class CHtmlElemSink : public tvsk::web::DomEventListener
{
public:
    enum class Source
    {
        Element,
        Document,
    };
    explicit CHtmlElemSink(CHtmlElemCtrl& owner, Source source = Source::Element)
        : m_owner(owner), m_source(source)
    {
    }
    ~CHtmlElemSink() override;
    CHtmlElemSink(const CHtmlElemSink&) = delete;
    CHtmlElemSink& operator=(const CHtmlElemSink&) = delete;

    bool Connect();
    bool Disconnect();
    void OnDomEvent(const tvsk::web::DomEvent& event) final;

protected:
    virtual void OnEvent(const tvsk::web::DomEvent& event);
    // Focus and blur, which every element sink reports.
    bool FocusOrBlur(const tvsk::web::DomEvent& event);

    CHtmlElemCtrl& m_owner;

private:
    Source m_source;
    bool m_connected = false;
};

class CHtmlTextSink final : public CHtmlElemSink
{
public:
    explicit CHtmlTextSink(CHtmlTextCtrl& text);

protected:
    void OnEvent(const tvsk::web::DomEvent& event) override;

private:
    CHtmlTextCtrl& m_text;
    // The Enter or Escape whose key down already acted, until its key press or another key.
    int m_keyDown = 0;
};

class CHtmlSelectSink final : public CHtmlElemSink
{
public:
    explicit CHtmlSelectSink(CHtmlSelectCtrl& select);

protected:
    void OnEvent(const tvsk::web::DomEvent& event) override;

private:
    CHtmlSelectCtrl& m_select;
};

class CHtmlButtonSink final : public CHtmlElemSink
{
public:
    explicit CHtmlButtonSink(CHtmlButtonCtrl& button);

protected:
    void OnEvent(const tvsk::web::DomEvent& event) override;

private:
    CHtmlButtonCtrl& m_button;
};

class CHtmlImgSink final : public CHtmlElemSink
{
public:
    explicit CHtmlImgSink(CHtmlImgCtrl& image);

protected:
    void OnEvent(const tvsk::web::DomEvent& event) override;

private:
    CHtmlImgCtrl& m_image;
};

class CHtmlRadioSink final : public CHtmlElemSink
{
public:
    explicit CHtmlRadioSink(CHtmlRadioCtrl& radio);

protected:
    void OnEvent(const tvsk::web::DomEvent& event) override;

private:
    CHtmlRadioCtrl& m_radio;
};

class CHtmlCheckboxSink final : public CHtmlElemSink
{
public:
    explicit CHtmlCheckboxSink(CHtmlCheckboxCtrl& checkbox);

protected:
    void OnEvent(const tvsk::web::DomEvent& event) override;

private:
    CHtmlCheckboxCtrl& m_checkbox;
};

class CHtmlPreSink final : public CHtmlElemSink
{
public:
    explicit CHtmlPreSink(CHtmlPreCtrl& pre);

protected:
    void OnEvent(const tvsk::web::DomEvent& event) override;

private:
    CHtmlPreCtrl& m_pre;
};

class CHtmlAnchorSink final : public CHtmlElemSink
{
public:
    explicit CHtmlAnchorSink(CHtmlAnchorCtrl& anchor);

protected:
    void OnEvent(const tvsk::web::DomEvent& event) override;

private:
    CHtmlAnchorCtrl& m_anchor;
};

// Listens to the whole document for the body: mouse over and out anywhere, help on the page.
class CHtmlDocSink final : public CHtmlElemSink
{
public:
    explicit CHtmlDocSink(CHtmlElemCtrl& body) : CHtmlElemSink(body, Source::Document) {}
};
