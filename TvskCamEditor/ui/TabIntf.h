// The cam table as the grid's data and view interface: the model's cells, kinds and row colours.
#pragma once

#include <TvskCamEditor/model/CamTable.h>

#include <TVEditGrid/EditGridDataIntf.h>
#include <TVEditGrid/EditGridViewIntf.h>
#include <TVEditGrid/Enum.h>

class CEditGrid;
class CWnd;

class CTabIntf : public CEditGridDataIntf, public CEditGridViewIntf, private CCamTableObserver
{
public:
    CTabIntf();

    CCamTable& Table() noexcept { return m_Table; }
    const CCamTable& Table() const noexcept { return m_Table; }
    // Windows repainted on changes, and the listener told that the cam changed (none owned).
    void SetGrid(CEditGrid* grid) noexcept { m_pGrid = grid; }
    void SetGraph(CWnd* graph) noexcept { m_pGraph = graph; }
    void SetChangeListener(CCamTableObserver* listener) noexcept { m_pListener = listener; }
    const CEnum& GetKinds() const noexcept { return m_Kinds; }
    static const struct EG_COLUMN* Columns();

    // Plain-text copy and paste of the points; false when the clipboard cannot be used.
    bool Copy() const;
    bool Paste();

    const CEnum* GetEnum(int col, int row) override;
    int GetMarginS(int row, CString& text) override;
    int SetElemS(int row, int col, const char* text, int flags) override;
    int GetElemI(int row, int col, int& value) override;
    int GetElemS(int row, int col, CString& text) override;
    int AllowEdit(int row, int col) override;
    int GetRecordNum() override;
    int GetHeaderS(int headerStringId, CString& text) override;

    int GetBckGrndColor(int row, int col, COLORREF& colour) override;
    void ClickElem(int row, int col) override;

private:
    void OnGraphChanged() override;
    void OnGridChanged() override;
    void OnCamChanged() override;

    CCamTable m_Table;
    CEnum m_Kinds;
    CEditGrid* m_pGrid = nullptr;
    CWnd* m_pGraph = nullptr;
    CCamTableObserver* m_pListener = nullptr;
};
