// Base of every diagram element: model object, pins, text, and its place in the network window.
#pragma once

#include <TvskLumoPlc/graph/GraphPin.h>

#include <vector>

class CConnection;

class CGraphBlock : public CGraphObject
{
public:
    ~CGraphBlock() override;

    // Builds the element from its generated object inside a network window; false when refused.
    virtual bool Init(CGraphNetworkIntf* network, CPlcFBDObject* model) = 0;
    // Re-measures from the owner's current step and font and places the element again.
    virtual void Rebuild();
    // Inverts the element's on/off property (a negation); false when it has none.
    virtual bool ToggleOnOff() { return false; }
    virtual void SetText(const char* text);
    const CString& GetText() const noexcept { return m_strText; }
    // "instance.pin" or "function.pin" for blocks with named pins; empty for others.
    virtual CString GetQualifiedPinText(const CGraphPin*) const { return CString(); }

    CPlcFBDObject* GetModelObject() const override { return m_pModel; }
    // For elements built from a model that does not outlive them.
    void ForgetModel() noexcept { m_pModel = nullptr; }
    bool IsSelectionComplete() const override;
    bool MoveTo(int x, int y) override;
    int GetRightX() const override { return m_nX + m_nWidth; }
    int GetLeftX() const override { return m_nX; }
    void Invalidate() override;

    // Pins: the pin array, plus EN and ENO where an element shows them.
    int GetPinCount() const noexcept { return static_cast<int>(m_Pins.size()); }
    CGraphPin* GetPin(int i) const;
    virtual CGraphPin* PinByName(const char* name) const;
    virtual CGraphPin* PinAtPixel(CPoint pixel) const;
    CGraphPin* PinAt(int x, int y) const;
    CGraphPin* FirstPin(int side, bool connected) const;
    virtual int GetInputCount() const;
    virtual int GetOutputCount() const;
    bool IsAnyPinConnected() const;
    CConnection* GetPinConnection(const char* name) const;
    // The pins that take part in the diagram: EN and ENO only while they are shown.
    virtual std::vector<CGraphPin*> AllPins() const { return m_Pins; }
    // Every pin the element owns, hidden EN and ENO included: they move with the element.
    virtual std::vector<CGraphPin*> OwnedPins() const { return m_Pins; }

    virtual bool HasVariableInputs() const { return m_bVarInputs != 0; }
    virtual bool AddInputs(int) { return false; }
    virtual bool RemoveInput() { return false; }
    bool HasEnEno() const noexcept { return m_bEnEno != 0; }

    // Pixel rectangles: the window in the network window, the body inside the window.
    const CRect& GetWindowRect() const noexcept { return m_rcWnd; }
    const CRect& GetBodyRect() const noexcept { return m_rcBody; }
    CRect GetBodyRectInNetwork() const;
    CSize GetCharCell() const noexcept { return m_szChar; }
    int GetWidth() const noexcept { return m_nWidth; }
    int GetHeightRows() const;
    void SetValid(bool valid) { SetError(!valid); }
    void* GetUserPointer() const noexcept { return m_pUser; }
    void SetUserPointer(void* user) noexcept { m_pUser = user; }

protected:
    explicit CGraphBlock(int type) : CGraphObject(type) {}

    // Owner, model and network present (and the model of the expected type when given).
    bool BeginInit(CGraphNetworkIntf* network, CPlcFBDObject* model, const char* source, int modelType);
    // Font, pins, character cell, layout, pins placed, and the network told.
    bool FinishInit(const char* source);
    virtual void CreatePins() {}
    virtual void ComputeLayout() = 0;
    virtual void PlacePins() {}
    void MeasureCharCell();
    int TextWidth(const char* text, bool bold = false) const;
    int WidestPinName(int side) const;
    CGraphPin* AddPin(const char* name, int side, bool negated, int x, int y);
    void OffsetPins(int dx, int dy);
    void Placed();
    static int RoundUp(int value, int step) { return step > 0 ? (value + step - 1) / step * step : value; }

    CPlcFBDObject* m_pModel = nullptr;
    int m_nWidth = 0;
    int m_nFirstOutRow = 0;
    CString m_strText;
    BYTE m_bEnEno = 0;
    BYTE m_bVarInputs = 0;
    BYTE m_bTitle = 1;
    CRect m_rcBody;
    CRect m_rcWnd;
    CSize m_szChar;
    std::vector<CGraphPin*> m_Pins;
    void* m_pUser = nullptr;
};

// The element list of a network; deletes its elements unless told not to.
class CGraphObjArray
{
public:
    explicit CGraphObjArray(bool noDelete = false) : m_bNoDelete(noDelete) {}
    CGraphObjArray(const CGraphObjArray&) = delete;
    CGraphObjArray& operator=(const CGraphObjArray&) = delete;
    ~CGraphObjArray();

    int GetSize() const noexcept { return static_cast<int>(m_Elements.size()); }
    CGraphBlock* GetAt(int i) const;
    // The index, -1 when memory runs out; renumbering counts every element but function blocks.
    int Add(CGraphBlock* element, bool renumber);
    // Takes the element out (deleting it unless no-delete) and renumbers; false when absent.
    bool Remove(CGraphBlock* element);
    // Takes the element out without deleting it.
    bool Detach(CGraphBlock* element);
    void Renumber();
    auto begin() const { return m_Elements.begin(); }
    auto end() const { return m_Elements.end(); }

private:
    std::vector<CGraphBlock*> m_Elements;
    bool m_bNoDelete;
};
