// The user's motor records as the grid's data and view interface.
#pragma once

#include <TvskCustomDb/model/CustomMotorSet.h>

#include <TVEditGrid/EditGridDataIntf.h>
#include <TVEditGrid/EditGridViewIntf.h>
#include <TVEditGrid/Enum.h>
#include <ui/DragDrop.h>

#include <memory>

class CEditGrid;
class CPluginIntf;
class COleDataSource;

class CDbIntf : public CEditGridDataIntf, public CEditGridViewIntf
{
public:
    explicit CDbIntf(CPluginIntf* host);
    ~CDbIntf() override;

    // Loads set 2 of the host's motors database; false without one.
    bool Load();
    bool Store() { return m_Set.Store(); }
    CCustomMotorSet& Set() noexcept { return m_Set; }
    void SetGrid(CEditGrid* grid) noexcept { m_pGrid = grid; }
    static const struct EG_COLUMN* Columns();
    CString HostOrOwnString(UINT id) const;

    COleDataSource* GetDataSource(int row, int col) override;
    void ReleaseDataSource() override;
    const CEnum* GetEnum(int col, int row) override;
    int SetElemS(int row, int col, const char* text, int flags) override;
    int SetElemI(int row, int col, int value, int flags) override;
    int GetElemI(int row, int col, int& value) override;
    int GetElemS(int row, int col, CString& text) override;
    int AllowEdit(int row, int col) override;
    int GetRecordNum() override;
    int GetHeaderS(int headerStringId, CString& text) override;
    void ClickElem(int row, int col) override;

private:
    CPluginIntf* m_pHost; // not owned
    CEditGrid* m_pGrid = nullptr;
    CCustomMotorSet m_Set;
    CEnum m_YesNo;
    CEnum m_Encoders;
    std::unique_ptr<COleDataSource> m_pDrag;
    CLIPFORMAT m_nFormat;
};
