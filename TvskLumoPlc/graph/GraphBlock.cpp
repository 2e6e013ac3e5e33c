#include "GraphBlock.h"

#include "Connection.h"
#include "NetworkIntf.h"

#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <new>

CGraphBlock::~CGraphBlock()
{
    for (CGraphPin* pin : m_Pins)
        delete pin;
}

bool CGraphBlock::BeginInit(CGraphNetworkIntf* network, CPlcFBDObject* model, const char* source,
                            int modelType)
{
    if (!m_pOwner || !model || !network)
    {
        ProgramError(source, __LINE__, "no owner, model or network window");
        return false;
    }
    if (modelType && model->m_nType != modelType)
    {
        ProgramError(source, __LINE__, "model of another type");
        return false;
    }
    m_pModel = model;
    m_pNetwork = network;
    return true;
}

bool CGraphBlock::FinishInit(const char* source)
{
    if (!m_pOwner->HasFont())
    {
        ProgramError(source, __LINE__, "no font");
        return false;
    }
    CreatePins();
    MeasureCharCell();
    ComputeLayout();
    PlacePins();
    Placed();
    return true;
}

void CGraphBlock::Placed()
{
    if (m_pNetwork)
        m_pNetwork->OnElementPlaced(this);
}

void CGraphBlock::Rebuild()
{
    if (!m_pOwner)
        return;
    Invalidate();
    MeasureCharCell();
    ComputeLayout();
    PlacePins();
    Invalidate();
    Placed();
}

void CGraphBlock::SetText(const char* text)
{
    m_strText = text;
}

bool CGraphBlock::IsSelectionComplete() const
{
    for (CGraphPin* pin : AllPins())
        if (pin->GetConnection() && !pin->GetConnection()->IsSelected())
            return false;
    return true;
}

bool CGraphBlock::MoveTo(int x, int y)
{
    if (x == m_nX && y == m_nY)
        return false;
    const int dx = x - m_nX;
    const int dy = y - m_nY;
    Invalidate();
    m_nX = x;
    m_nY = y;
    m_nFirstOutRow += dy;
    ComputeLayout();
    OffsetPins(dx, dy);
    Invalidate();
    Placed();
    return true;
}

void CGraphBlock::Invalidate()
{
    if (m_pNetwork)
        m_pNetwork->InvalidateRect(m_rcWnd);
}

void CGraphBlock::OffsetPins(int dx, int dy)
{
    for (CGraphPin* pin : OwnedPins())
        pin->Offset(dx, dy);
}

CGraphPin* CGraphBlock::GetPin(int i) const
{
    return i >= 0 && i < GetPinCount() ? m_Pins[static_cast<size_t>(i)] : nullptr;
}

CGraphPin* CGraphBlock::PinByName(const char* name) const
{
    for (CGraphPin* pin : m_Pins)
        if (pin->GetName() == name)
            return pin;
    return nullptr;
}

CGraphPin* CGraphBlock::PinAtPixel(CPoint pixel) const
{
    for (CGraphPin* pin : AllPins())
        if (pin->GetHitRect().PtInRect(pixel))
            return pin;
    return nullptr;
}

CGraphPin* CGraphBlock::PinAt(int x, int y) const
{
    for (CGraphPin* pin : AllPins())
        if (pin->ObjectAt(x, y))
            return pin;
    return nullptr;
}

CGraphPin* CGraphBlock::FirstPin(int side, bool connected) const
{
    CGraphPin* top = nullptr;
    for (CGraphPin* pin : AllPins())
        if (pin->GetSide() == side && (!connected || pin->GetConnection()) &&
            (!top || pin->GetPosition().y < top->GetPosition().y))
            top = pin;
    return top;
}

int CGraphBlock::GetInputCount() const
{
    return static_cast<int>(std::count_if(m_Pins.begin(), m_Pins.end(),
                                          [](const CGraphPin* p)
                                          { return p->GetSide() == CGraphPin::SIDE_INPUT; }));
}

int CGraphBlock::GetOutputCount() const
{
    return GetPinCount() - GetInputCount();
}

bool CGraphBlock::IsAnyPinConnected() const
{
    for (CGraphPin* pin : AllPins())
        if (pin->GetConnection())
            return true;
    return false;
}

CConnection* CGraphBlock::GetPinConnection(const char* name) const
{
    CGraphPin* pin = PinByName(name);
    return pin ? pin->GetConnection() : nullptr;
}

CRect CGraphBlock::GetBodyRectInNetwork() const
{
    CRect body = m_rcBody;
    body.OffsetRect(m_rcWnd.left, m_rcWnd.top);
    return body;
}

int CGraphBlock::GetHeightRows() const
{
    return m_rcBody.Height() / std::max(1, StepY());
}

void CGraphBlock::MeasureCharCell()
{
    m_szChar = m_pOwner ? m_pOwner->GetTextExtent("A", false) : CSize(1, 1);
}

int CGraphBlock::TextWidth(const char* text, bool bold) const
{
    return m_pOwner ? m_pOwner->GetTextExtent(text, bold).cx : 0;
}

int CGraphBlock::WidestPinName(int side) const
{
    int widest = 0;
    for (CGraphPin* pin : m_Pins)
        if (pin->GetSide() == side && pin->IsNameShown())
            widest = std::max(widest, TextWidth(pin->GetName()));
    return widest;
}

CGraphPin* CGraphBlock::AddPin(const char* name, int side, bool negated, int x, int y)
{
    try
    {
        auto* pin = new CGraphPin(this, name, side, negated);
        m_Pins.push_back(pin);
        pin->SetPinPosition(x, y);
        return pin;
    }
    catch (const std::bad_alloc&)
    {
        ProgramError("GraphBlock", __LINE__, "pin not created");
        return nullptr;
    }
}

CGraphObjArray::~CGraphObjArray()
{
    if (!m_bNoDelete)
        for (CGraphBlock* element : m_Elements)
            delete element;
}

CGraphBlock* CGraphObjArray::GetAt(int i) const
{
    return i >= 0 && i < GetSize() ? m_Elements[static_cast<size_t>(i)] : nullptr;
}

int CGraphObjArray::Add(CGraphBlock* element, bool renumber)
{
    try
    {
        m_Elements.push_back(element);
    }
    catch (const std::bad_alloc&)
    {
        return -1;
    }
    if (renumber)
        Renumber();
    return GetSize() - 1;
}

bool CGraphObjArray::Detach(CGraphBlock* element)
{
    auto at = std::find(m_Elements.begin(), m_Elements.end(), element);
    if (at == m_Elements.end())
        return false;
    m_Elements.erase(at);
    return true;
}

bool CGraphObjArray::Remove(CGraphBlock* element)
{
    if (!Detach(element))
        return false;
    if (!m_bNoDelete)
        delete element;
    Renumber();
    return true;
}

void CGraphObjArray::Renumber()
{
    int number = 0;
    for (CGraphBlock* element : m_Elements)
        if (element->GetType() != FBD_FUNCTION_BLOCK)
            element->SetNumber(number++);
}
