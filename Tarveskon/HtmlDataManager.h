// A page window's HTML data manager: created with its sink connected, handed the page, read and
// written by name. Every call is a no-op while the manager is missing.
#pragma once

#include "TvskHtmlEvent.h"

#include <framework/CString.h>
#include <framework/Map.h>

#include <vector>

class CHtmlWnd;

class CHtmlDataManager
{
public:
    CHtmlDataManager() = default;
    ~CHtmlDataManager() { Release(); }
    CHtmlDataManager(const CHtmlDataManager&) = delete;
    CHtmlDataManager& operator=(const CHtmlDataManager&) = delete;

    // Creates the manager and connects sink; the failure code otherwise.
    HRESULT Create(CHtmlEventSink& sink);
    // Forgets the page's elements, disconnects the sink and releases the manager.
    void Release();
    IJyHtml2Mng* Get() const { return m_pManager; }
    explicit operator bool() const { return m_pManager != nullptr; }

    // Hands the window's loaded page to the manager.
    bool Bind(CHtmlWnd& window);
    void RemoveAllControls();

    HRESULT PutText(const char* name, const char* text);
    HRESULT PutValue(const char* name, const VARIANT& value);
    HRESULT PutNumber(const char* name, double value);
    // The control's value as text; false when it has none.
    bool GetText(const char* name, CString& text);
    // The element's text as the page holds it (a text field's value before any conversion).
    bool GetRawText(const char* name, CString& text);
    HRESULT PutControlText(long index, const char* text);
    long ControlsNum();
    CString ControlName(long index);
    CString ControlId(long index);
    long ControlType(const char* name);
    CString ControlTitle(const char* name);
    // Both dimensions of the hidden input "GENERAL"; false unless both are positive.
    bool DocumentSize(long& width, long& height);
    void ResetSelect(const char* name);
    void AddSelectOption(const char* name, const char* text);
    void AddSelectOption(const char* name, const char* text, const char* value);
    // Fills the select with the map's keys in sorted order and shows current when given; false
    // (the select left empty) without a map.
    bool FillSelect(const char* name, const CMapStringToPtr* map, const CString* current);
    // The map's non-empty keys in a select's order: by value when every key is a number, else as
    // text without case.
    static std::vector<CString> SelectOrder(const CMapStringToPtr& map);

private:
    IJyHtml2Mng* m_pManager = nullptr;
    CHtmlEventSink* m_pSink = nullptr;
    DWORD m_dwCookie = 0;
};
