// Boxes of a function-block diagram: function block, function and operator, with EN and ENO.
#pragma once

#include <TvskLumoPlc/graph/GraphBlock.h>

class CPlcFBDExeObject;

class CGraphExeBlock : public CGraphBlock
{
public:
    static constexpr int MaxFunctionPins = 32;

    ~CGraphExeBlock() override;

    bool Init(CGraphNetworkIntf* network, CPlcFBDObject* model) override;
    CString GetKey() const override;
    bool MoveTo(int x, int y) override;
    CPoint GetTopLeftPosition() const override;
    std::vector<CGraphPin*> AllPins() const override;
    std::vector<CGraphPin*> OwnedPins() const override;
    CGraphPin* PinByName(const char* name) const override;
    bool AddInputs(int count) override;
    bool RemoveInput() override;

    CGraphPin* GetEN() const noexcept { return m_pEN; }
    CGraphPin* GetENO() const noexcept { return m_pENO; }
    // Hiding detaches EN and ENO from their wires.
    void ShowEnEno(bool shown);
    bool IsEnEnoConnected() const;
    int GetMinInputs() const noexcept { return m_nMinInputs; }
    int GetFirstOutputRow() const noexcept { return m_nFirstOutRow; }
    // Fill of the box by the element's state.
    COLORREF GetBoxColor() const;

protected:
    CGraphExeBlock(int type, const char* source, const char* tag)
        : CGraphBlock(type), m_pSource(source), m_pTag(tag)
    {
    }

    // Name, text, number and variable-input rules of the kind; x, y and width come from the model.
    virtual void TakeModel(CPlcFBDExeObject* model) = 0;
    virtual CString KeyId() const;
    virtual CString AddedInputName(int pinsBefore, int index) const = 0;
    virtual bool MayAddInput() const { return true; }
    // Top of the window above the first pin row, in pixels.
    virtual int WindowTop() const = 0;
    virtual int TitleWidth() const;
    void CreatePins() override;
    void ComputeLayout() override;
    void PlacePins() override;

    CGraphPin* m_pEN = nullptr;
    CGraphPin* m_pENO = nullptr;
    int m_nMinInputs = 2;
    int m_nModelWidth = 0;
    const char* m_pSource;
    const char* m_pTag;
};

class CGraphFuncBlock : public CGraphExeBlock
{
public:
    CGraphFuncBlock() : CGraphExeBlock(FBD_FUNCTION_BLOCK, "GraphFuncBlock", "$FB") {}
    // A new instance name: the element is rebuilt and the model takes the name.
    void SetText(const char* text) override;
    CString GetQualifiedPinText(const CGraphPin* pin) const override;
    const CRect& GetInstanceRect() const noexcept { return m_rcInstance; }
    int GetRightX() const override;
    bool MoveTo(int x, int y) override;

protected:
    void TakeModel(CPlcFBDExeObject* model) override;
    CString KeyId() const override { return m_strText; }
    CString AddedInputName(int, int) const override { return CString(); }
    int WindowTop() const override;
    void ComputeLayout() override;

private:
    CRect m_rcInstance;
};

class CGraphFunction : public CGraphExeBlock
{
public:
    CGraphFunction() : CGraphExeBlock(FBD_FUNCTION, "GraphFunction", "$F") {}
    // A function's text is its name ("FIN P40.3"): the element is rebuilt and the model takes it.
    void SetText(const char* text) override;
    CString GetQualifiedPinText(const CGraphPin* pin) const override;

protected:
    void TakeModel(CPlcFBDExeObject* model) override;
    CString AddedInputName(int pinsBefore, int index) const override;
    bool MayAddInput() const override { return GetPinCount() < MaxFunctionPins; }
    int WindowTop() const override;
};

class CGraphOpr : public CGraphExeBlock
{
public:
    CGraphOpr() : CGraphExeBlock(FBD_OPERATOR, "GraphOpr", "$O") {}
    // The operator code of a name (case ignored), -1 for none; variable inputs where the table says.
    static int OperatorCode(const char* name, bool* variableInputs = nullptr);
    int GetOperatorCode() const noexcept { return m_nOperator; }

protected:
    void TakeModel(CPlcFBDExeObject* model) override;
    CString AddedInputName(int pinsBefore, int index) const override;
    int WindowTop() const override;

private:
    int m_nOperator = -1;
};
