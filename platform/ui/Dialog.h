// Dialogs built from layout tables in code, run modal or modeless.
#pragma once

#include "Wnd.h"

// What a table row creates; each kind stands for a control class with its base style.
enum class DlgKind
{
    PushButton,
    DefPushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    LText,
    CText,
    RText,
    Frame, // etched frame (a static)
    EditText,
    ComboBox, // drop-down list
    ListBox,
    Control // the class name and style given in the row
};

// One control: rectangle in dialog units, text, extra style bits (WS_VISIBLE and WS_CHILD are implied).
struct DlgItem
{
    DlgKind kind;
    UINT id;
    int x, y, cx, cy;
    const char* text = nullptr;
    DWORD style = 0;
    const char* className = nullptr;
};

struct DialogTemplate
{
    const char* title;
    DWORD style;
    int cx, cy; // dialog units
    const DlgItem* items;
    int itemCount;
};

class QFont;

// Dialog units to pixels, the one rule for every dialog: 4 horizontal units are the dialog font's
// average character width (of "A".."Z" and "a".."z"), 8 vertical units its height. Dialogs use the
// desktop's font, so layouts follow its size and resolution.
CSize GetDialogBaseUnits(const QFont& font);
CSize GetDialogBaseUnits(); // of the desktop's font
CRect DialogUnitsToPixels(const CRect& units, CSize baseUnits);
CRect DialogUnitsToPixels(const CRect& units); // in the desktop's font

// Templates are found by id (or name) as resources are: by id in the current resource module first,
// then in the program's, then in any module. FALSE when another table has the key.
BOOL AfxRegisterDialogTemplate(UINT id, const DialogTemplate* dialogTemplate, HINSTANCE module = nullptr);
BOOL AfxRegisterDialogTemplate(const char* name, const DialogTemplate* dialogTemplate);
const DialogTemplate* AfxFindDialogTemplate(UINT id);
const DialogTemplate* AfxFindDialogTemplate(const char* name);

class CDialog : public CWnd
{
public:
    CDialog();
    CDialog(UINT templateId, CWnd* parent = nullptr);
    CDialog(const char* templateName, CWnd* parent = nullptr);

    // Runs the dialog until EndDialog; -1 when it cannot be created.
    virtual INT_PTR DoModal();
    // Modeless
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(const char* templateName, CWnd* parent = nullptr);
    BOOL CreateIndirect(const DialogTemplate* dialogTemplate, CWnd* parent = nullptr);
    void EndDialog(int result);
    void MapDialogRect(RECT* rect) const;
    BOOL PreTranslateMessage(MSG* msg) override;

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDHelp = 0;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    const DialogTemplate* FindTemplate() const;

    CWnd* m_pParentWnd = nullptr;
    UINT m_nIDTemplate = 0;
    CString m_strTemplateName;

private:
    BOOL CreateFromTemplate(const DialogTemplate* dialogTemplate, CWnd* parent);
    void MapDefaultCommands();

    std::vector<std::unique_ptr<CWnd>> m_controls;
    CSize m_baseUnits;
    bool m_modal = false;
    bool m_ended = false;
    int m_result = 0;
    class QEventLoop* m_loop = nullptr;
};
