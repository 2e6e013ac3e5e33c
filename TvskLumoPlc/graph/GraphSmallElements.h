// The small elements: comment, constant, jump, return and variable.
#pragma once

#include <TvskLumoPlc/graph/GraphBlock.h>

class CGraphComment : public CGraphBlock
{
public:
    static constexpr int MaxLength = 100;

    CGraphComment() : CGraphBlock(FBD_COMMENT) {}

    bool Init(CGraphNetworkIntf* network, CPlcFBDObject* model) override;
    // Without double quotes and line breaks, cut to 100 characters; the model takes it too.
    void SetText(const char* text) override;
    // The lines joined with "\n", or with "\r\n".
    CString GetJoinedText(bool crlf) const;
    const CStringArray& GetLines() const noexcept { return m_Lines; }
    COLORREF GetTextColor() const;

    static CString CleanText(const char* text);

protected:
    void ComputeLayout() override;

private:
    CStringArray m_Lines;
};

// An element with one pin and a box: constant, jump, return and variable.
class CGraphPinBox : public CGraphBlock
{
public:
    bool Init(CGraphNetworkIntf* network, CPlcFBDObject* model) override;
    // The connection area: half a step wide and 4 pixels high at the pin's end of the box.
    CRect GetConnectionArea() const;
    COLORREF GetBoxColor() const;

protected:
    CGraphPinBox(int type, const char* source) : CGraphBlock(type), m_pSource(source) {}
    virtual void TakeModel() = 0;
    virtual bool PinOnRight() const = 0;
    void PlacePins() override;

    const char* m_pSource;
};

class CGraphConst : public CGraphPinBox
{
public:
    static constexpr int MinBoxWidth = 50;

    CGraphConst() : CGraphPinBox(FBD_CONST, "GraphConst") {}

    // An empty value becomes "0"; the model takes the value too.
    void SetText(const char* text) override;
    const CString& GetValue() const noexcept { return m_strName; }

    // In-place editing: opening keeps the value to come back to; applying asks the owner and
    // keeps the last accepted value when it refuses; cancelling brings the kept value back.
    void BeginEdit();
    bool ApplyEdit(const char* text);
    void CancelEdit();
    bool IsEditing() const noexcept { return m_bEditing; }
    const CString& GetEditText() const noexcept { return m_strEdit; }

protected:
    void TakeModel() override;
    bool PinOnRight() const override { return true; }
    void CreatePins() override;
    void ComputeLayout() override;

private:
    CString m_strSaved;
    CString m_strEdit;
    bool m_bEditing = false;
};

class CGraphJmp : public CGraphPinBox
{
public:
    CGraphJmp() : CGraphPinBox(FBD_JUMP, "GraphJmp") {}

    // 1 or 2.
    int GetMode() const noexcept { return m_nMode; }
    void SetMode(int mode) noexcept { m_nMode = mode == 2 ? 2 : 1; }

protected:
    CGraphJmp(int type, const char* source) : CGraphPinBox(type, source) {}
    void TakeModel() override;
    bool PinOnRight() const override { return false; }
    void CreatePins() override;
    void ComputeLayout() override;

private:
    int m_nMode = 1;
};

class CGraphReturn : public CGraphJmp
{
public:
    CGraphReturn() : CGraphJmp(FBD_RETURN, "GraphReturn") {}
};

class CGraphVar : public CGraphPinBox
{
public:
    CGraphVar() : CGraphPinBox(FBD_VARIABLE, "GraphVar") {}

    void SetText(const char* text) override;
    // 1: read (pin on the right, an output); 0: written. Takes effect on Rebuild.
    bool IsRead() const noexcept { return m_bRead; }
    void SetRead(bool read) noexcept { m_bRead = read; }

protected:
    void TakeModel() override;
    bool PinOnRight() const override { return m_bRead; }
    void CreatePins() override;
    void ComputeLayout() override;
    void PlacePins() override;

private:
    bool m_bRead = true;
};
