// Data, view and window stand-ins that record what the grid asks and tells.
#pragma once

#include <TVEditGrid/EditGridController.h>
#include <TVEditGrid/Enum.h>

#include <set>
#include <string>
#include <vector>

inline std::string Call(const char* name, int a)
{
    return std::string(name) + " " + std::to_string(a);
}
inline std::string Call(const char* name, int a, int b)
{
    return Call(name, a) + " " + std::to_string(b);
}

class FakeData : public CEditGridDataIntf
{
public:
    FakeData() : values(kList, nullptr, 2) {}

    EG_TYC GetColType(int, int) override { return EG_EDIT; }
    const CEnum* GetEnum(int, int) override { return withList ? &values : nullptr; }
    int SetElemS(int row, int col, const char* text, int) override
    {
        writes.push_back(Call("S", row, col) + " " + text);
        return 1;
    }
    int SetElemI(int row, int col, int value, int) override
    {
        writes.push_back(Call("I", row, col) + " " + std::to_string(value));
        return 1;
    }
    int GetElemI(int, int, int& value) override
    {
        value = 2;
        return 1;
    }
    int GetElemS(int row, int col, CString& text) override
    {
        text.Format("%d,%d", row, col);
        return 1;
    }
    int AllowEdit(int, int col) override { return locked.count(col) ? 0 : 1; }
    COleDataSource* GetDataSource(int row, int col) override
    {
        dragAsked.push_back(Call("drag", row, col));
        return source;
    }
    void ReleaseDataSource() override { dragAsked.push_back("released"); }

    static constexpr EN_ELEM kList[] = {{1, "one", 0}, {2, "two", 0}};
    CEnum values;
    bool withList = true;
    std::set<int> locked;
    std::vector<std::string> writes;
    std::vector<std::string> dragAsked;
    COleDataSource* source = nullptr;
};

class RecordingView : public CEditGridViewIntf
{
public:
    int GetBckGrndColor(int row, int, COLORREF& colour) override
    {
        if (!coloured.count(row))
            return 0;
        colour = RGB(100, 200, 250);
        return 1;
    }
    int KeyControl(int, int) override { return consumeKeys ? 1 : 0; }
    void ChangeCell(int row, int col) override { log.push_back(Call("ChangeCell", row, col)); }
    void ChangeRow(int row) override { log.push_back(Call("ChangeRow", row)); }
    void ChangeCol(int col) override { log.push_back(Call("ChangeCol", col)); }
    void ClickElem(int row, int col) override { log.push_back(Call("ClickElem", row, col)); }
    void ClickUpElem(int row, int col) override { log.push_back(Call("ClickUpElem", row, col)); }
    void ColClick(int col) override { log.push_back(Call("ColClick", col)); }
    void EndColTrack(int col) override { log.push_back(Call("EndColTrack", col)); }
    bool OptionClick(int row, int col) override
    {
        log.push_back(Call("OptionClick", row, col));
        return true;
    }
    void PopUpMenu(int row, int col, CPoint) override { log.push_back(Call("PopUpMenu", row, col)); }
    void PreEditCell(int row, int col) override { log.push_back(Call("PreEditCell", row, col)); }
    void PostEditCell(int row, int col) override { log.push_back(Call("PostEditCell", row, col)); }

    std::set<int> coloured;
    bool consumeKeys = false;
    std::vector<std::string> log;
};

class FakeSurface : public CEditGridSurface
{
public:
    void InvalidateAll() override {}
    void InvalidateRect(const CRect&) override {}
    void SetScrollBars(const GridScrollBar& h, const GridScrollBar& v) override
    {
        horz = h;
        vert = v;
    }
    void SetHeader(const std::vector<GridHeaderItem>& items, const CRect&) override { headerItems = items; }
    void SetMarginTexts(const std::vector<CString>& texts) override { margin = texts; }
    void OpenEdit(const CRect& rect, const CString& text, int, bool numeric) override
    {
        opened.push_back("edit " + text.str());
        editRect = rect;
        editNumeric = numeric;
    }
    void OpenList(const CRect& rect, const CEnum&, int selected) override
    {
        opened.push_back("list " + std::to_string(selected));
        listRect = rect;
    }
    void OpenOption(const CRect& rect) override
    {
        opened.push_back("option");
        optionRect = rect;
    }
    CString GetEditText() const override { return editText; }
    bool GetListValue(int& value) const override
    {
        value = listValue;
        return true;
    }
    void CloseEdit() override { closed.push_back("edit"); }
    void CloseList() override { closed.push_back("list"); }
    void CloseOption() override { closed.push_back("option"); }
    void PlaceEditors(const GridEditorRects& rects, bool visible) override
    {
        editRect = rects.edit;
        editorsVisible = visible;
    }
    void FocusParent() override {}
    void SetCapture(bool capture) override { captured = capture; }
    void DoDragDrop(COleDataSource*, const CRect&) override { drags.push_back("drag"); }

    GridScrollBar horz, vert;
    std::vector<GridHeaderItem> headerItems;
    std::vector<CString> margin;
    std::vector<std::string> opened;
    std::vector<std::string> closed;
    std::vector<std::string> drags;
    CRect editRect, listRect, optionRect;
    bool editNumeric = false;
    bool editorsVisible = true;
    bool captured = false;
    CString editText = "typed";
    int listValue = 1;
};
