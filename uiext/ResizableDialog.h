// A dialog whose anchored controls follow its size, with a size grip, tracking limits and a saved placement.
#pragma once

#include "ResizableGrip.h"
#include "ResizableLayout.h"
#include "ResizableMinMax.h"
#include "ResizableState.h"

#include <ui/Dialog.h>

class CResizableDialog : public CDialog,
                         public CResizableLayout,
                         public CResizableGrip,
                         public CResizableMinMax,
                         public CResizableState
{
public:
    CResizableDialog();
    CResizableDialog(UINT templateId, CWnd* parent = nullptr);
    CResizableDialog(const char* templateName, CWnd* parent = nullptr);

protected:
    CWnd* GetResizableWnd() override { return this; }
    // Restores the saved placement at once and saves it again when the dialog is destroyed.
    void EnableSaveRestore(const char* section, BOOL rectOnly = FALSE);

    BOOL OnInitDialog() override;
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnDestroy() override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    BOOL OnEraseBkgnd(CDC* dc) override;

private:
    BOOL m_bEnableSaveRestore = FALSE;
    BOOL m_bRectOnly = FALSE;
    CString m_sSection;
    BOOL m_bInitDone = FALSE;
};
