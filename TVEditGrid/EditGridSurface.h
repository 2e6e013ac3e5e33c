// What the grid's logic asks of the window that shows it: repaints, scroll bars, header, margin, in-cell
// editors, drags.
#pragma once

#include "EditGridLayout.h"

#include <framework/CString.h>

#include <vector>

class CEnum;
class COleDataSource;

struct GridHeaderItem
{
    CString title;
    int width;
};

// Where the open in-cell controls sit; an empty rectangle for a control that is not open.
struct GridEditorRects
{
    CRect edit;
    CRect list;
    CRect option;
};

class CEditGridSurface
{
public:
    virtual ~CEditGridSurface() = default;

    virtual void InvalidateAll() = 0;
    virtual void InvalidateRect(const CRect& rect) = 0;
    virtual void SetScrollBars(const GridScrollBar& horz, const GridScrollBar& vert) = 0;
    // Header items from the first shown column on, and the header window's place.
    virtual void SetHeader(const std::vector<GridHeaderItem>& items, const CRect& place) = 0;
    // One text per margin line shown from the top; the other margin lines are hidden.
    virtual void SetMarginTexts(const std::vector<CString>& texts) = 0;

    // The edit box: its text selected, shown and focused.
    virtual void OpenEdit(const CRect& rect, const CString& text, int charLimit, bool numericOnly) = 0;
    // The list: every entry of the value list with its value, the entry at selected chosen (-1: none).
    virtual void OpenList(const CRect& rect, const CEnum& list, int selected) = 0;
    virtual void OpenOption(const CRect& rect) = 0;
    virtual CString GetEditText() const = 0;
    // False when no entry is chosen.
    virtual bool GetListValue(int& value) const = 0;
    virtual void CloseEdit() = 0;
    virtual void CloseList() = 0;
    virtual void CloseOption() = 0;
    // Moves the open controls with the content; hidden ones stay open. Shown edit box and list take the
    // focus.
    virtual void PlaceEditors(const GridEditorRects& rects, bool visible) = 0;
    // Gives the focus to the grid's parent when that is visible.
    virtual void FocusParent() = 0;

    virtual void SetCapture(bool capture) = 0;
    // Runs a drag of the data with copy and move allowed; answers when it has ended.
    virtual void DoDragDrop(COleDataSource* source, const CRect& startRect) = 0;
};
