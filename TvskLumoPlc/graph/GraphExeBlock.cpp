#include "GraphExeBlock.h"

#include "Connection.h"
#include "NetworkIntf.h"

#include <ZoLumoPlcObj/PlcFBDBlocks.h>
#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <cstring>
#include <strings.h>

CGraphExeBlock::~CGraphExeBlock()
{
    delete m_pEN;
    delete m_pENO;
}

bool CGraphExeBlock::Init(CGraphNetworkIntf* network, CPlcFBDObject* model)
{
    if (!BeginInit(network, model, m_pSource, m_nType))
        return false;
    auto* exe = static_cast<CPlcFBDExeObject*>(model);
    m_nX = model->m_nX;
    m_nY = model->m_nY;
    m_nFirstOutRow = m_nY;
    m_nModelWidth = std::max(0, exe->m_nWidth);
    m_nWidth = m_nModelWidth;
    TakeModel(exe);
    return FinishInit(m_pSource);
}

void CGraphExeBlock::CreatePins()
{
    auto* exe = static_cast<CPlcFBDExeObject*>(m_pModel);
    int row = 0;
    for (auto* pin : PlcObjects<CPlcFBDPin>(exe->m_Inputs))
    {
        if (pin->m_strID == "EN" && !m_pEN)
        {
            m_pEN = new CGraphPin(this, "EN", CGraphPin::SIDE_INPUT, pin->m_bNegated);
            m_bEnEno = 1;
            continue;
        }
        if (!AddPin(pin->m_strID, CGraphPin::SIDE_INPUT, pin->m_bNegated, m_nX, m_nY + row++))
            return;
    }
    row = 0;
    for (auto* pin : PlcObjects<CPlcFBDPin>(exe->m_Outputs))
    {
        if (pin->m_strID == "ENO" && !m_pENO)
        {
            m_pENO = new CGraphPin(this, "ENO", CGraphPin::SIDE_OUTPUT, pin->m_bNegated);
            m_bEnEno = 1;
            continue;
        }
        if (!AddPin(pin->m_strID, CGraphPin::SIDE_OUTPUT, pin->m_bNegated, m_nX + m_nWidth,
                    m_nFirstOutRow + row++))
            return;
    }
    // Without an EN in the model the pins exist all the same, hidden.
    if (!m_pEN)
        m_pEN = new CGraphPin(this, "EN", CGraphPin::SIDE_INPUT, false);
    if (!m_pENO)
        m_pENO = new CGraphPin(this, "ENO", CGraphPin::SIDE_OUTPUT, false);
}

void CGraphExeBlock::PlacePins()
{
    int in = 0;
    int out = 0;
    for (CGraphPin* pin : m_Pins)
    {
        if (pin->GetSide() == CGraphPin::SIDE_INPUT)
            pin->SetPinPosition(m_nX, m_nY + in++);
        else
            pin->SetPinPosition(m_nX + m_nWidth, m_nFirstOutRow + out++);
    }
    if (m_pEN)
        m_pEN->SetPinPosition(m_nX, m_nY - 1);
    if (m_pENO)
        m_pENO->SetPinPosition(m_nX + m_nWidth, m_nFirstOutRow - 1);
}

int CGraphExeBlock::TitleWidth() const
{
    return TextWidth(m_strName, true);
}

void CGraphExeBlock::ComputeLayout()
{
    const int sx = std::max(1, StepX());
    const int sy = StepY();
    const int in = WidestPinName(CGraphPin::SIDE_INPUT);
    const int out = WidestPinName(CGraphPin::SIDE_OUTPUT);
    CString enEno;
    enEno.Format("%s %s", "EN", "ENO");
    const int pinsWidth = in > 0 && out > 0 ? 2 * std::max(in, out) : in + out;
    const int textWidth = std::max({TitleWidth(), TextWidth(enEno), pinsWidth});
    int bodyWidth = textWidth + 2 * m_szChar.cy;
    if (m_nModelWidth > 0)
        bodyWidth = m_nModelWidth * sx;
    else
    {
        bodyWidth = RoundUp(bodyWidth, sx);
        m_nWidth = bodyWidth / sx;
    }
    const int rows = std::max(GetInputCount(), GetOutputCount());
    const int height = m_szChar.cy + sy * (rows + 1) + (m_bEnEno ? sy : 0);
    const int top = WindowTop();
    const int bodyTop = m_nY * sy - (m_bEnEno ? sy : 0) - sy / 2 - m_szChar.cy;
    m_rcWnd = CRect(m_nX * sx, top, m_nX * sx + bodyWidth + sx + 2, std::max(top, bodyTop) + height);
    m_rcBody = CRect(sx / 2, bodyTop - top, sx / 2 + bodyWidth, bodyTop - top + height);
}

CString CGraphExeBlock::KeyId() const
{
    CString id;
    id.Format("%d", m_nNumber);
    return id;
}

CString CGraphExeBlock::GetKey() const
{
    if (!m_pNetwork)
    {
        ProgramError(m_pSource, __LINE__, "not in a network");
        return CString();
    }
    CString key;
    key.Format("%d%s:%s", m_pNetwork->GetNumber(), m_pTag, static_cast<const char*>(KeyId()));
    return key;
}

bool CGraphExeBlock::MoveTo(int x, int y)
{
    return CGraphBlock::MoveTo(x, y);
}

CPoint CGraphExeBlock::GetTopLeftPosition() const
{
    return m_bEnEno ? CPoint(m_nX, m_nY - 1) : CPoint(m_nX, m_nY);
}

std::vector<CGraphPin*> CGraphExeBlock::AllPins() const
{
    return m_bEnEno ? OwnedPins() : m_Pins;
}

std::vector<CGraphPin*> CGraphExeBlock::OwnedPins() const
{
    std::vector<CGraphPin*> pins = m_Pins;
    if (m_pEN)
        pins.push_back(m_pEN);
    if (m_pENO)
        pins.push_back(m_pENO);
    return pins;
}

CGraphPin* CGraphExeBlock::PinByName(const char* name) const
{
    if (CGraphPin* pin = CGraphBlock::PinByName(name))
        return pin;
    if (m_bEnEno && m_pEN && m_pEN->GetName() == name)
        return m_pEN;
    if (m_bEnEno && m_pENO && m_pENO->GetName() == name)
        return m_pENO;
    return nullptr;
}

void CGraphExeBlock::ShowEnEno(bool shown)
{
    if (!shown)
        for (CGraphPin* pin : {m_pEN, m_pENO})
            if (pin)
                pin->Detach();
    m_bEnEno = shown ? 1 : 0;
    Rebuild();
}

bool CGraphExeBlock::IsEnEnoConnected() const
{
    return m_pEN && m_pENO && m_pEN->GetConnection() && m_pENO->GetConnection();
}

bool CGraphExeBlock::AddInputs(int count)
{
    if (!m_bVarInputs || count <= 0)
        return false;
    const int before = GetPinCount();
    int added = 0;
    for (int i = 0; i < count && MayAddInput(); ++i)
    {
        CGraphPin* pin =
            AddPin(AddedInputName(before, i), CGraphPin::SIDE_INPUT, false, m_nX, m_nY + GetInputCount());
        if (!pin)
            break;
        // Inputs stay together ahead of the outputs.
        m_Pins.pop_back();
        const auto firstOutput =
            std::find_if(m_Pins.begin(), m_Pins.end(),
                         [](const CGraphPin* p) { return p->GetSide() == CGraphPin::SIDE_OUTPUT; });
        m_Pins.insert(firstOutput, pin);
        ++added;
    }
    if (added)
        Rebuild();
    return added > 0;
}

bool CGraphExeBlock::RemoveInput()
{
    if (!m_bVarInputs || GetInputCount() <= m_nMinInputs)
        return false;
    auto last = std::find_if(m_Pins.rbegin(), m_Pins.rend(),
                             [](const CGraphPin* p) { return p->GetSide() == CGraphPin::SIDE_INPUT; });
    if (last == m_Pins.rend() || (*last)->GetConnection())
        return false;
    delete *last;
    m_Pins.erase(std::next(last).base());
    Rebuild();
    return true;
}

COLORREF CGraphExeBlock::GetBoxColor() const
{
    if (!m_pOwner)
        return RGB(192, 192, 192);
    if (IsError())
        return m_pOwner->GetColor(ErrorColor);
    if (HasValue())
        return m_pOwner->GetColor(TriggerColor);
    if (IsSelected())
        return m_pOwner->GetColor(SelectionColor);
    if (m_nType == FBD_FUNCTION && IsActive())
        return m_pOwner->GetColor(ActiveColor);
    return m_pOwner->GetColor(ObjColor);
}

void CGraphFuncBlock::TakeModel(CPlcFBDExeObject* model)
{
    m_strName = model->m_strBlockName;
    m_strText = model->m_strID;
}

void CGraphFuncBlock::SetText(const char* text)
{
    m_strText = text;
    if (m_pModel)
        m_pModel->m_strID = text;
    Rebuild();
}

CString CGraphFuncBlock::GetQualifiedPinText(const CGraphPin* pin) const
{
    CString text;
    if (pin)
        text.Format("%s.%s", static_cast<const char*>(m_strText), static_cast<const char*>(pin->GetName()));
    return text;
}

int CGraphFuncBlock::WindowTop() const
{
    const int sy = StepY();
    return m_nY * sy - (m_bEnEno ? 7 : 5) * sy / 2 - m_szChar.cy / 2;
}

void CGraphFuncBlock::ComputeLayout()
{
    CGraphExeBlock::ComputeLayout();
    const int sy = StepY();
    const CRect body = GetBodyRectInNetwork();
    m_rcInstance = CRect(body.left, body.top - sy, body.right, body.top);
    const int textWidth = TextWidth(m_strText);
    if (textWidth > body.Width())
    {
        const int overhang = (textWidth - body.Width() + 1) / 2;
        m_rcInstance.left -= overhang;
        m_rcInstance.right += overhang;
    }
    m_rcWnd.top = std::min(m_rcWnd.top, m_rcInstance.top);
}

int CGraphFuncBlock::GetRightX() const
{
    const int sx = std::max(1, StepX());
    const int overhang = std::max(0, m_rcInstance.right - GetBodyRectInNetwork().right);
    return m_nX + m_nWidth + (overhang + sx - 1) / sx;
}

bool CGraphFuncBlock::MoveTo(int x, int y)
{
    const CRect old = m_rcInstance;
    if (!CGraphExeBlock::MoveTo(x, y))
        return false;
    if (m_pNetwork)
    {
        m_pNetwork->InvalidateRect(old);
        m_pNetwork->InvalidateRect(m_rcInstance);
    }
    return true;
}

void CGraphFunction::TakeModel(CPlcFBDExeObject* model)
{
    m_strName = model->m_strBlockName;
    ReadDecimal(model->m_strID, m_nNumber);
    const bool mux = m_strName == "MUX";
    m_bVarInputs = (mux || m_strName == "MIN" || m_strName == "MAX") ? 1 : 0;
    m_nMinInputs = mux ? 3 : 2;
}

void CGraphFunction::SetText(const char* text)
{
    m_strName = text;
    if (m_pModel)
        static_cast<CPlcFBDExeObject*>(m_pModel)->m_strBlockName = text;
    Rebuild();
}

CString CGraphFunction::GetQualifiedPinText(const CGraphPin* pin) const
{
    CString text;
    if (pin)
        text.Format("%s.%s", static_cast<const char*>(m_strName), static_cast<const char*>(pin->GetName()));
    return text;
}

CString CGraphFunction::AddedInputName(int pinsBefore, int index) const
{
    CString name;
    if (m_strName == "MUX")
        name.Format("I%d", pinsBefore + index - 2);
    else
        name.Format("#I%d", pinsBefore + index - 1);
    return name;
}

int CGraphFunction::WindowTop() const
{
    return m_nY * StepY() - (m_bEnEno ? 5 : 3) * m_szChar.cy / 2;
}

int CGraphOpr::OperatorCode(const char* name, bool* variableInputs)
{
    static const struct
    {
        const char* name;
        int code;
        bool variable;
    } table[] = {{"MOVE", 0, false}, {"S", 3, false},    {"R", 4, false},  {"AND", 5, true},
                 {"OR", 6, true},    {"XOR", 7, true},   {"ADD", 8, true}, {"SUB", 9, false},
                 {"MUL", 10, true},  {"DIV", 11, false}, {"GT", 12, true}, {"GE", 13, true},
                 {"EQ", 14, true},   {"NE", 15, false},  {"LE", 16, true}, {"LT", 17, true}};
    if (variableInputs)
        *variableInputs = false;
    if (!name)
        return -1;
    for (const auto& row : table)
        if (strcasecmp(row.name, name) == 0)
        {
            if (variableInputs)
                *variableInputs = row.variable;
            return row.code;
        }
    return -1;
}

void CGraphOpr::TakeModel(CPlcFBDExeObject* model)
{
    m_strName = model->m_strBlockName;
    ReadDecimal(model->m_strID, m_nNumber);
    bool variable = false;
    m_nOperator = OperatorCode(m_strName, &variable);
    m_bVarInputs = variable ? 1 : 0;
}

CString CGraphOpr::AddedInputName(int pinsBefore, int index) const
{
    CString name;
    name.Format("%d", pinsBefore + index);
    return name;
}

int CGraphOpr::WindowTop() const
{
    const int twice = m_bTitle ? (m_bEnEno ? 5 : 3) : (m_bEnEno ? 4 : 2);
    return m_nY * StepY() - twice * m_szChar.cy / 2;
}
