// The page viewer's sink for the data manager's events: each event becomes a message to the page
// window, or a direct call. Held by value; it only counts references.
#pragma once

#include <com/Com.h>

#include <string>

struct IJyHtml2Mng;
class CPagerHtmlWnd;

class CPagerHtmlEvent : public IDispatch
{
public:
    CPagerHtmlEvent() = default;
    virtual ~CPagerHtmlEvent() = default;
    CPagerHtmlEvent(const CPagerHtmlEvent&) = delete;
    CPagerHtmlEvent& operator=(const CPagerHtmlEvent&) = delete;

    // Events are ignored until the first page has loaded.
    void Arm(IJyHtml2Mng* manager, CPagerHtmlWnd* window)
    {
        m_pManager = manager;
        m_pWnd = window;
    }

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override { return m_references > 0 ? --m_references : 0; }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

protected:
    virtual void OnEvent(const std::string& name, DISPID id, DISPPARAMS* params);

private:
    void Keyword(const std::string& name);

    ULONG m_references = 0;
    IJyHtml2Mng* m_pManager = nullptr;
    CPagerHtmlWnd* m_pWnd = nullptr;
};
