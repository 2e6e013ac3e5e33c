// A small floating tool window that remembers having been shown.
#pragma once

#include <ui/Wnd.h>

class CToolWnd : public CWnd
{
public:
    CToolWnd();

    // A top-level tool window without owner; parent and the last argument are not used.
    virtual BOOL Create(const char* title, CRect rect, CWnd* parent, UINT id, int unused = 0);
    // Set once created or activated; the owner clears it when it hides the window.
    virtual bool IsVisible() { return m_bVisible != 0; }
    virtual BOOL RegisterWindowClass();

    BYTE m_bVisible = 0;

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    void OnDestroy() override;
};
