// What an editable grid tells its owner's view (clicks, moves, header actions) and asks of it (colours).
#pragma once

#include <framework/Geometry.h>
#include <framework/WinTypes.h>

class CEditGridViewIntf
{
public:
    CEditGridViewIntf() = default;
    CEditGridViewIntf(const CEditGridViewIntf&) = default;
    CEditGridViewIntf& operator=(const CEditGridViewIntf&) = default;

    // Nonzero: paint the row in colour (asked with column 0).
    virtual int GetBckGrndColor(int row, int col, COLORREF& colour);
    // Nonzero: draw the cell's text in colour.
    virtual int GetTextColor(int row, int col, COLORREF& colour);
    // Nonzero consumes a key an editor reported before the grid handles it.
    virtual int KeyControl(int row, int col);
    virtual void ChangeCell(int row, int col);
    virtual void ChangeRow(int row);
    virtual void ChangeCol(int col);
    virtual void ClickElem(int row, int col);
    virtual void ClickUpElem(int row, int col);
    // Column -1: the top-left corner.
    virtual void ColClick(int col);
    virtual void EndColTrack(int col);
    // True repaints the cell.
    virtual bool OptionClick(int row, int col);
    virtual void DblClickElem(int row, int col);
    virtual void PopUpMenu(int row, int col, CPoint screenPoint);
    virtual void PreEditCell(int row, int col);
    virtual void PostEditCell(int row, int col);
    // Owners derive from this class and may be deleted through it.
    virtual ~CEditGridViewIntf();
};
