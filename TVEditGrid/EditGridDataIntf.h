// What an editable grid asks of its owner's data, with default bodies, and the list of selected rows.
#pragma once

#include "EditGridDefs.h"

#include <ZoSupport/StackEx.h>
#include <framework/CString.h>

class CEnum;
class COleDataSource;

class CEditGridDataIntf
{
public:
    CEditGridDataIntf() = default;
    CEditGridDataIntf(const CEditGridDataIntf&) = default;
    CEditGridDataIntf& operator=(const CEditGridDataIntf&) = default;

    // After a drag started from a cell has ended.
    virtual void ReleaseDataSource() {}
    // The data a drag from the cell carries; null: no drag.
    virtual COleDataSource* GetDataSource(int row, int col);
    // Kind of a cell of an EG_PERCELL column. Note: column first.
    virtual EG_TYC GetColType(int col, int row);
    // Value list of a list cell. Note: column first.
    virtual const CEnum* GetEnum(int col, int row);
    virtual int GetMarginS(int row, CString& text);
    virtual int SetElemS(int row, int col, const char* text, int flags);
    virtual int SetElemI(int row, int col, int value, int flags);
    virtual int GetElemI(int row, int col, int& value);
    // Nonzero when it supplied the text.
    virtual int GetElemS(int row, int col, CString& text);
    virtual int AllowEdit(int row, int col);
    virtual int GetRecordNum();
    // 1: text is the title of the header string id.
    virtual int GetHeaderS(int headerStringId, CString& text);
    // Owners derive from this class and may be deleted through it.
    virtual ~CEditGridDataIntf();

    // Selected rows: sorted and unique once multi-selection is enabled, else in the order added.
    void EnableMultiSelection();
    void AddRowSelection(int row);
    // Position -1 takes the last entry off into position (false when empty); a position inside
    // the list removes that entry; any other position answers false.
    bool RemoveRowSelection(int& position);
    void RemoveAllSelections();
    const CStackEx<int>& GetSelections() const { return m_selections; }
    // True when each entry is at most one greater than the one before it.
    bool isNoGapRowSel() const;

private:
    CStackEx<int> m_selections;
};
