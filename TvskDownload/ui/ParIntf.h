// The parameter list and the monitor as the grids' data and view interfaces. Both show name,
// description, value and format of host records; they differ in where the fields come from.
#pragma once

#include <TvskDownload/model/ParValueFormat.h>

#include <Tarveskon/PluginIntf.h>

#include <TVEditGrid/EditGridDataIntf.h>
#include <TVEditGrid/EditGridViewIntf.h>
#include <TVEditGrid/Enum.h>
#include <ui/DragDrop.h>
#include <uiext/DropTarget.h>

#include <functional>
#include <memory>

class CEditGrid;
class COleDataSource;

// Field codes of the host's parameter and monitor records.
enum ParField
{
    FIELD_NAME = 0,
    FIELD_VALUE = 1,
    FIELD_BITS = 2,
    FIELD_SCALE = 3,
    FIELD_OFFSET = 4,
    FIELD_DESCR = 9,
    FIELD_FORMAT = 11,
    FIELD_TEMPORARY = 12
};

class CParListIntf : public CEditGridDataIntf, public CEditGridViewIntf
{
public:
    static const struct EG_COLUMN* Columns(bool monitor);
    static const CEnum& Formats();

    void SetHost(CPluginIntf* host) noexcept { m_pHost = host; }
    void SetGrid(CEditGrid* grid) noexcept { m_pGrid = grid; }
    CEditGrid* GetGrid() const noexcept { return m_pGrid; }
    void SetShowFormat(const bool* showFormat) noexcept { m_pShowFormat = showFormat; }
    // Called when one of its elements is clicked, so the window selects this grid.
    void SetOnSelect(std::function<void(CParListIntf*)> onSelect) { m_onSelect = std::move(onSelect); }

    const CEnum* GetEnum(int col, int row) override;
    int GetElemS(int row, int col, CString& text) override;
    int GetElemI(int row, int col, int& value) override;
    int SetElemI(int row, int col, int value, int flags) override;
    int GetMarginS(int row, CString& text) override;
    int GetHeaderS(int headerStringId, CString& text) override;
    void ClickElem(int row, int col) override;

    CString Field(int row, int field) const;

protected:
    virtual BOOL GetField(int row, int field, CString& text) const = 0;
    virtual HOSTRES PutField(int row, int field, const char* text) = 0;
    bool ShowFormat() const { return m_pShowFormat && *m_pShowFormat; }
    PAR_SCALING Scaling(int row) const;
    bool HostCheck(const char* source, int line) const;

    CPluginIntf* m_pHost = nullptr; // not owned
    CEditGrid* m_pGrid = nullptr;
    const bool* m_pShowFormat = nullptr;
    std::function<void(CParListIntf*)> m_onSelect;
};

class CParIntf : public CParListIntf
{
public:
    CParIntf();
    ~CParIntf() override;

    int GetRecordNum() override;
    int SetElemS(int row, int col, const char* text, int flags) override;
    int AllowEdit(int row, int col) override;
    COleDataSource* GetDataSource(int row, int col) override;
    void ReleaseDataSource() override;
    void ColClick(int col) override;
    CLIPFORMAT GetFormat() const noexcept { return m_nFormat; }

protected:
    BOOL GetField(int row, int field, CString& text) const override;
    HOSTRES PutField(int row, int field, const char* text) override;

private:
    CLIPFORMAT m_nFormat;
    std::unique_ptr<COleDataSource> m_pDrag;
};

class CMonitorIntf : public CParListIntf, public CDropTargetIntf
{
public:
    CMonitorIntf();

    int GetRecordNum() override;
    int SetElemS(int row, int col, const char* text, int flags) override;
    int AllowEdit(int row, int col) override;
    // A dropped parameter row becomes a monitor entry through this.
    void SetOnDropRow(std::function<void(int)> onDrop) { m_onDrop = std::move(onDrop); }
    BOOL OnDrop(COleDataObject* data, DWORD dropEffect, CPoint point) override;
    CLIPFORMAT GetFormat() const noexcept { return m_nFormat; }

protected:
    BOOL GetField(int row, int field, CString& text) const override;
    HOSTRES PutField(int row, int field, const char* text) override;

private:
    CLIPFORMAT m_nFormat;
    std::function<void(int)> m_onDrop;
};
