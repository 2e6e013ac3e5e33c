// Main PLC dialog: the instruction buttons, Delete, comments and the place of new networks, all
// on the ladder document and shown again through the view; nothing while on line.
#include "DlgFin.h"
#include "DlgLumoPlc.h"
#include "PlcIds.h"

#include <TvskLumoPlc/graph/GraphObject.h>
#include <TvskLumoPlc/graphview/GraphDoc.h>
#include <TvskLumoPlc/graphview/LDView.h>
#include <ZoLumoPlcObj/PlcFBDObject.h>
#include <ZoSupport/ProgramError.h>

#include <memory>

namespace
{
// A new element whose operands ("?") the user sets in the view.
std::unique_ptr<CLDLogicElem> NewElement(int type, bool negated, const char* mnemonic)
{
    auto e = std::make_unique<CLDLogicElem>();
    e->m_nType = type;
    e->m_bNegated = negated;
    e->m_strText = mnemonic;
    e->m_Operands.Add("?");
    if (type == LDELEM_BOX)
    {
        e->m_Operands.Add("?");
        e->m_strOutText = "?";
    }
    e->m_nOperands = static_cast<int>(e->m_Operands.GetSize());
    return e;
}

// The identifier of the element a graph object was made from; -1 when it has none.
int ElementId(const CGraphObject* object)
{
    int id = -1;
    const CPlcFBDObject* model = object->GetModelObject();
    return model && ReadDecimal(model->m_strID, id) ? id : -1;
}

bool IsElementObject(const CGraphObject* object)
{
    const int type = object->GetType();
    return type == FBD_FUNCTION || type == FBD_LD_CONTACT || type == FBD_LD_COIL;
}

// The element that ends the main rung: the tail, or the first branch into a closing join.
CLDLogicElem* RungEnd(const CLDLogicNet& net)
{
    CLDLogicElem* tail = net.GetNetTail();
    if (tail && tail->m_nType == LDELEM_JOIN)
        return tail->GetFirstParent();
    return tail;
}
} // namespace

void CDlgLumoPlc::MapEditCommands()
{
    MapCommand(ID_PLC_LD, [this] { OnLoad(false); });
    MapCommand(ID_PLC_LDN, [this] { OnLoad(true); });
    MapCommand(ID_PLC_AND, [this] { OnSeries(LDELEM_CONTACT, "AND", false); });
    MapCommand(ID_PLC_ANDN, [this] { OnSeries(LDELEM_CONTACT, "ANDN", true); });
    MapCommand(ID_PLC_ADD, [this] { OnSeries(LDELEM_BOX, "ADD", false); });
    MapCommand(ID_PLC_SUB, [this] { OnSeries(LDELEM_BOX, "SUB", false); });
    MapCommand(ID_PLC_MUL, [this] { OnSeries(LDELEM_BOX, "MUL", false); });
    MapCommand(ID_PLC_DIV, [this] { OnSeries(LDELEM_BOX, "DIV", false); });
    MapCommand(ID_PLC_OR, [this] { OnParallel(false); });
    MapCommand(ID_PLC_ORN, [this] { OnParallel(true); });
    MapCommand(ID_PLC_OUT, [this] { OnOutput("OUT", false, false); });
    MapCommand(ID_PLC_OUTN, [this] { OnOutput("OUTN", true, false); });
    MapCommand(ID_PLC_SET, [this] { OnOutput("SET", false, true); });
    MapCommand(ID_PLC_RST, [this] { OnOutput("RES", false, true); });
    MapCommand(ID_PLC_FIN, [this] { OnFin(); });
    MapCommand(ID_PLC_DELETE, [this] { OnDelete(); });
    MapCommand(ID_PLC_COMMENT, [this] { OnComment(); });
    MapCommand(ID_PLC_NET_AFTER, [this] { m_nInsertBefore = 0; });
    MapCommand(ID_PLC_NET_BEFORE, [this] { m_nInsertBefore = 1; });
    const auto editable = [this](CCmdUI* ui) { ui->Enable(!m_bOnline && HasCurrentNetwork()); };
    MapUpdateCommandUI(ID_PLC_DELETE, editable);
    MapUpdateCommandUI(ID_PLC_COMMENT, editable);
    MapUpdateCommandUI(ID_PLC_NET_AFTER,
                       [this, editable](CCmdUI* ui)
                       {
                           editable(ui);
                           ui->SetCheck(m_nInsertBefore == 0 ? 1 : 0);
                       });
    MapUpdateCommandUI(ID_PLC_NET_BEFORE,
                       [this, editable](CCmdUI* ui)
                       {
                           editable(ui);
                           ui->SetCheck(m_nInsertBefore == 1 ? 1 : 0);
                       });
}

bool CDlgLumoPlc::HasCurrentNetwork() const
{
    const CGraphDoc* doc = m_pView ? m_pView->GetGraphDoc() : nullptr;
    return doc && doc->GetCurrentNetwork();
}

// Operands edited in the view go into the document first, so that no rebuild loses them.
bool CDlgLumoPlc::FindCurrentNet()
{
    m_pCurNet = nullptr;
    m_nCurNet = -1;
    m_LogicDoc.UpdateReferences();
    const CGraphDoc* doc = m_pView ? m_pView->GetGraphDoc() : nullptr;
    const auto* network = doc ? dynamic_cast<const CNetworkWnd*>(doc->GetCurrentNetwork()) : nullptr;
    if (!network)
        return false;
    m_bNetSelected = network->IsSelected() ? 1 : 0;
    const int number = m_pView->GetNetworkIndex() + 1;
    m_pCurNet = m_LogicDoc.GetNet(number);
    if (!m_pCurNet)
        return false;
    m_nCurNet = number;
    return true;
}

bool CDlgLumoPlc::FindSelectedElement()
{
    m_bCommentSelected = 0;
    if (!FindCurrentNet())
        return false;
    const std::vector<CGraphObject*>& selection = m_pView->GetManager()->GetSelection();
    if (selection.size() != 1 ||
        selection.front()->GetNetwork() != m_pView->GetGraphDoc()->GetCurrentNetwork())
        return false;
    CGraphObject* object = selection.front();
    if (IsElementObject(object))
        return m_pCurNet->SelectElement(ElementId(object)) != nullptr;
    if (object->GetType() == FBD_COMMENT)
    {
        m_pCurNet->m_pSelected = nullptr;
        m_bNetSelected = 0;
        m_bCommentSelected = 1;
        return true;
    }
    return false;
}

void CDlgLumoPlc::ShowSelectedElement()
{
    if (!m_pView || !m_pCurNet || m_nCurNet < 1)
        return;
    m_pView->SelectNetwork(m_nCurNet - 1);
    const CLDLogicElem* selected = m_pCurNet->GetSelected();
    CGraphDoc* doc = m_pView->GetGraphDoc();
    CGraphObjArray* elements = selected ? doc->GetNetworkElements(doc->GetCurrentNetwork()) : nullptr;
    if (!elements)
        return;
    for (CGraphBlock* element : *elements)
        if (IsElementObject(element) && ElementId(element) == selected->m_nID)
        {
            m_pView->SelectElement(element);
            return;
        }
}

bool CDlgLumoPlc::CanEditNet() const
{
    if (!m_pCurNet || m_nCurNet < 1)
        return false;
    if (m_nCurNet == 1 && m_LogicDoc.GetCount() >= 2)
        return !m_LogicDoc.GetNet(2)->HasFIN();
    return true;
}

int CDlgLumoPlc::NewNetPosition() const
{
    const int index = m_pView ? m_pView->GetNetworkIndex() : -1;
    if (m_LogicDoc.GetCount() > 0 && index >= 0)
        return index + (m_nInsertBefore ? 1 : 2);
    return m_LogicDoc.GetCount() + 1;
}

int CDlgLumoPlc::InsertNewNet()
{
    const int number = NewNetPosition();
    m_LogicDoc.InsertNet(number - 1);
    return number;
}

void CDlgLumoPlc::AfterInsert(CLDLogicNet* net, int number, int id, const char* mnemonic)
{
    net->SelectElement(id);
    m_pCurNet = net;
    m_nCurNet = number;
    bool isLong = false;
    CLumoPlcCodeGen::GetInstrLen(mnemonic, isLong);
    m_nCodeLen += isLong ? 2 : 1;
    RebuildView();
    ShowSelectedElement();
    SetModified(true);
}

// LD, LDN: a new net with a contact; a FIN net keeps its place at the top.
void CDlgLumoPlc::OnLoad(bool negated)
{
    if (m_bOnline)
        return;
    m_LogicDoc.UpdateReferences();
    const int position = NewNetPosition();
    if (position <= 2 && m_LogicDoc.GetNet(position) && m_LogicDoc.GetNet(position)->HasFIN())
        return;
    const char* mnemonic = negated ? "LDN" : "LD";
    const int number = InsertNewNet();
    CLDLogicNet* net = m_LogicDoc.GetNet(number);
    std::unique_ptr<CLDLogicElem> e = NewElement(LDELEM_CONTACT, negated, mnemonic);
    if (!net || !net->AddCascade(e.get()))
    {
        ProgramError("DlgLumoPlc", __LINE__, nullptr);
        return;
    }
    AfterInsert(net, number, e.release()->m_nID, mnemonic);
}

// AND, ANDN and the boxes: after the selected element, or a branch from a selected output.
void CDlgLumoPlc::OnSeries(int type, const char* mnemonic, bool negated)
{
    if (m_bOnline || !FindSelectedElement() || !CanEditNet() || !m_pCurNet->GetSelected())
        return;
    std::unique_ptr<CLDLogicElem> e = NewElement(type, negated, mnemonic);
    const bool fromOutput = m_pCurNet->GetSelected()->m_nType == LDELEM_OUTPUT;
    if (!(fromOutput ? m_pCurNet->BranchOff(e.get()) : m_pCurNet->AddCascade(e.get())))
        return;
    AfterInsert(m_pCurNet, m_nCurNet, e.release()->m_nID, mnemonic);
}

// OR, ORN: a contact in parallel to the selected element, never to an output.
void CDlgLumoPlc::OnParallel(bool negated)
{
    if (m_bOnline || !FindSelectedElement() || !CanEditNet() || !m_pCurNet->GetSelected() ||
        m_pCurNet->GetSelected()->m_nType == LDELEM_OUTPUT)
        return;
    const char* mnemonic = negated ? "ORN" : "OR";
    std::unique_ptr<CLDLogicElem> e = NewElement(LDELEM_CONTACT, negated, mnemonic);
    if (!m_pCurNet->AddParallel(e.get()))
        return;
    AfterInsert(m_pCurNet, m_nCurNet, e.release()->m_nID, mnemonic);
}

// OUT, OUTN at the end of the current net, after the selected element when there is one; SET and
// RST need the selection.
void CDlgLumoPlc::OnOutput(const char* mnemonic, bool negated, bool needsElement)
{
    if (m_bOnline)
        return;
    const bool selected = FindSelectedElement() && m_pCurNet->GetSelected();
    if (!m_pCurNet || !CanEditNet() || m_pCurNet->IsEmpty() || (needsElement && !selected))
        return;
    if (!selected)
        m_pCurNet->m_pSelected = RungEnd(*m_pCurNet);
    std::unique_ptr<CLDLogicElem> e = NewElement(LDELEM_OUTPUT, negated, mnemonic);
    if (!m_pCurNet->AddOutput(e.get()))
        return;
    AfterInsert(m_pCurNet, m_nCurNet, e.release()->m_nID, mnemonic);
}

// FIN: a new net with a FIN box, where FIN nets may stand; the dialog opens on FIN, Pr.40, bit 0.
void CDlgLumoPlc::OnFin()
{
    if (m_bOnline)
        return;
    m_LogicDoc.UpdateReferences();
    if (!m_LogicDoc.IsFINAllowed(NewNetPosition()))
        return;
    CDlgFin dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    const int number = InsertNewNet();
    CLDLogicNet* net = m_LogicDoc.GetNet(number);
    auto e = std::make_unique<CLDLogicElem>();
    e->m_nType = LDELEM_BOX;
    e->m_nOperands = 0;
    e->m_strText.Format("%s%s P%d.%d", dialog.m_bPositive ? "" : "N", "FIN", dialog.m_nParam, dialog.m_nBit);
    if (!net || !net->AddCascade(e.get()))
    {
        ProgramError("DlgLumoPlc", __LINE__, nullptr);
        return;
    }
    AfterInsert(net, number, e.release()->m_nID, "FIN");
}

void CDlgLumoPlc::OnDelete()
{
    if (m_bOnline || !FindCurrentNet())
        return;
    if (m_bNetSelected)
    {
        const int number = m_nCurNet;
        m_LogicDoc.DeleteNet(number);
        m_pCurNet = nullptr;
        m_nCodeLen = m_CodeGen.GetCodeLen(&m_LogicDoc);
        RebuildView();
        if (number > 1)
            m_pView->SelectNetwork(number - 2);
        SetModified(true);
        return;
    }
    if (!FindSelectedElement())
        return;
    if (m_bCommentSelected)
        m_pCurNet->DeleteComment();
    else if (m_pCurNet->DeleteSelected())
        m_nCodeLen = m_CodeGen.GetCodeLen(&m_LogicDoc);
    else
        return;
    RebuildView();
    m_pView->SelectNetwork(m_nCurNet - 1);
    SetModified(true);
}

void CDlgLumoPlc::OnComment()
{
    if (m_bOnline || !m_pPluginIntf || !FindCurrentNet())
        return;
    m_pCurNet->InsertNewComment(PlcHostString(m_pPluginIntf, IDS_PLC_COMMENT));
    RebuildView();
    ShowSelectedElement();
    SetModified(true);
}
