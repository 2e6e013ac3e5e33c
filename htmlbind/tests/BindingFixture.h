// A manager bound to a parsed page, with a host sink connected: the base of the binding tests.
#pragma once

#include "EventLog.h"

#include <htmlbind/JyHtml2Mng.h>

#include <com/ComModule.h>
#include <web/DomUserInput.h>
#include <web/HtmlPage.h>

#include <gtest/gtest.h>

struct TestBstr
{
    BSTR s;
    explicit TestBstr(const std::string& text) : s(tvsk::com::BstrFromUtf8(text)) {}
    ~TestBstr() { SysFreeString(s); }
    TestBstr(const TestBstr&) = delete;
    TestBstr& operator=(const TestBstr&) = delete;
    operator BSTR() const { return s; }
};

class BindingFixture : public testing::Test
{
protected:
    BindingFixture()
    {
        tvsk::com::CreateObject<CJyHtml2Mng>(IJyHtml2Mng::Iid, reinterpret_cast<void**>(manager.Receive()));
        ComPtr<IConnectionPointContainer> container = manager.As<IConnectionPointContainer>();
        container->FindConnectionPoint(DIID__IJyHtml2MngEvents, point.Receive());
        point->Advise(static_cast<IDispatch*>(log.Get()), &cookie);
    }
    ~BindingFixture() override { point->Unadvise(cookie); }

    HRESULT Bind(std::unique_ptr<tvsk::web::DomDocument> page)
    {
        dom = page.get();
        pageObject = tvsk::web::NewDocumentObject(std::move(page));
        const HRESULT hr = manager->put_HtmlDocument(pageObject.Get());
        log->events.clear();
        return hr;
    }
    HRESULT Bind(const std::string& html) { return Bind(tvsk::web::ParseHtmlPage(html, "mem:")); }

    tvsk::web::DomElement& Element(const std::string& name, int nth = 0) const
    {
        for (size_t i = 0; i < dom->ElementCount(); ++i)
            if (dom->ElementAt(i)->Name() == name || dom->ElementAt(i)->Id() == name)
                if (nth-- == 0)
                    return *dom->ElementAt(i);
        throw std::runtime_error("no element " + name);
    }
    VARIANT Value(const std::string& name, HRESULT expected = S_OK)
    {
        VARIANT v;
        EXPECT_EQ(manager->get_ControlValue(TestBstr(name), &v), expected);
        return v;
    }
    std::string Text(const std::string& name)
    {
        CHtmlVariant v(Value(name));
        return EventLog::Text(v.v);
    }
    // The events without focus and blur, which every click brings.
    std::vector<std::string> Reported() const
    {
        std::vector<std::string> kept;
        for (const std::string& e : log->events)
            if (e.rfind("OnElementFocus", 0) != 0 && e.rfind("OnElementBlur", 0) != 0)
                kept.push_back(e);
        return kept;
    }
    LONG Count()
    {
        LONG n = -1;
        manager->get_ControlsNum(&n);
        return n;
    }
    std::string NameAt(LONG index)
    {
        BSTR name = nullptr;
        if (FAILED(manager->get_ControlName(index, &name)))
            return "<none>";
        std::string text = tvsk::com::Utf8FromBstr(name);
        SysFreeString(name);
        return text;
    }
    LONG Kind(const std::string& name)
    {
        LONG kind = -1;
        manager->get_ControlType(TestBstr(name), &kind);
        return kind;
    }

    ComPtr<IJyHtml2Mng> manager;
    ComPtr<EventLog> log{new EventLog};
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    // The browser's hold on its page, which outlives any binding.
    ComPtr<IDomDocument> pageObject;
    tvsk::web::DomDocument* dom = nullptr;
    tvsk::web::DomUserInput user;
};
