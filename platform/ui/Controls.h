// The common controls: buttons, static texts, edits, combo and list boxes, scroll bars and the size grip.
#pragma once

#include "Wnd.h"

class QWidget;

// The toolkit widget for a control class ("Button", "Static", "Edit", "ComboBox", "ListBox",
// "ScrollBar"), with its notifications wired to WM_COMMAND of the parent; null for other classes.
QWidget* CreateControlWidget(CWnd* wnd, const char* className, DWORD style, QWidget* parent);
// The height a control takes for a window height: a combo box's window height includes its
// drop-down list, so the field keeps its own height and the rest sizes the list.
int ControlHeight(QWidget* widget, int windowHeight);
// Re-applies the parts of a changed style that the control shows.
void ApplyControlStyle(CWnd* wnd, QWidget* widget, DWORD oldStyle, DWORD newStyle);

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int BST_INDETERMINATE = 2;

class CButton : public CWnd
{
public:
    BOOL Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const;
    void SetCheck(int check);
};

class CStatic : public CWnd
{
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
};

class CEdit : public CWnd
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetLimitText(UINT max);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    void SetSel(int start, int end);
};

class CComboBox : public CWnd
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetLBText(int index, CString& text) const;
    int FindStringExact(int startAfter, const char* text) const;
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
};

class CListBox : public CWnd
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetText(int index, CString& text) const;
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    // Lists with LBS_MULTIPLESEL or LBS_EXTENDEDSEL: any number of selected entries.
    int SetSel(int index, BOOL select = TRUE);
    int GetSel(int index) const;
    int GetSelCount() const;
    // Fills up to maxItems indexes of selected entries in ascending order; answers how many.
    int GetSelItems(int maxItems, int* items) const;
};

class CScrollBar : public CWnd
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE);
    int SetScrollPos(int pos, BOOL redraw = TRUE);
};
