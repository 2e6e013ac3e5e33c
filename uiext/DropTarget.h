// A window as a drop target for a list of clipboard formats, reporting to a callback interface.
#pragma once

#include <ui/DragDrop.h>

#include <framework/Array.h>

class CDropTargetIntf
{
public:
    virtual ~CDropTargetIntf() = default;
    virtual void ShowIndicator(DWORD /*dropEffect*/, CPoint /*point*/) {}
    virtual void HideIndicator() {}
    virtual BOOL OnDrop(COleDataObject* /*data*/, DWORD /*dropEffect*/, CPoint /*point*/) { return FALSE; }
};

class CDropTargetImpl : public COleDropTarget
{
public:
    CDropTargetImpl(CWnd* wnd, CDropTargetIntf* callbacks);
    ~CDropTargetImpl() override;

    // The registered format, or 0 (and nothing added) when the name cannot be registered.
    CLIPFORMAT AddFormat(const char* formatName);
    CLIPFORMAT AddFormat(CLIPFORMAT format);

    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    void OnDragLeave(CWnd* wnd) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    // Never scrolls: only tells the indicator where the pointer is.
    DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) override;

private:
    DROPEFFECT EffectFor(COleDataObject* data, DWORD keyState) const;

    CWnd* m_pWnd;
    CDropTargetIntf* m_pIntf;
    CWordArray m_formats;
};
