#include "LDView.h"

#include "CommentDlg.h"
#include "LDOperandText.h"

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>

#include <Tarveskon/PluginIntf.h>
#include <ZoLumoPlcObj/PlcLDElements.h>
#include <ZoLumoPlcObj/PlcLDNetwork.h>
#include <ZoSupport/ZoSupport.h>

#include <ui/App.h>
#include <ui/Menu.h>

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNCREATE(CLDView, CGraphView)

namespace
{
// The owner's commands offered by the context menu, their ids also the ids of their texts.
constexpr UINT kOwnerDelete = 12817;
constexpr UINT kOwnerComment = 12018;
// Keeps the view's shown flag for the worker, which must not ask the window itself.
class ShowWatch : public QObject
{
public:
    ShowWatch(CLDView* view, QWidget* widget) : m_view(view), m_widget(widget)
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            m_view->SetShownFlag(event->type() == QEvent::Show && m_widget->isVisible());
        return false;
    }

private:
    CLDView* m_view;
    QWidget* m_widget;
};

// A contact shows whether it conducts, every other element (a negated coil too) its power.
bool ShownState(const ANIMATION_ENTRY& entry)
{
    if (entry.model->m_nType == FBD_LD_CONTACT)
        return entry.conducts != 0;
    return entry.power != 0;
}

// The element moves; the wires on its pins follow.
void MoveWithWires(CGraphBlock* element, int x, int y)
{
    if (!element->MoveTo(x, y))
        return;
    for (CGraphPin* pin : element->AllPins())
        if (CConnection* wire = pin->GetConnection())
            wire->MoveEnd(wire->GetStart().object == pin, pin->GetPosition().x, pin->GetPosition().y);
    element->Invalidate();
}
} // namespace

CLDView::CLDView() = default;

CLDView::~CLDView()
{
    m_Chart.Clear();
}

int CLDView::OnCreate(CREATESTRUCT* createStruct)
{
    // Without a document the view makes its own ladder document, which goes with its last view.
    auto* context = static_cast<CCreateContext*>(createStruct->lpCreateParams);
    CCreateContext own = context ? *context : CCreateContext{};
    if (!own.m_pCurrentDoc)
    {
        own.m_pCurrentDoc = static_cast<CDocument*>(RUNTIME_CLASS(CLDDoc)->CreateObject());
        createStruct->lpCreateParams = &own;
    }
    if (CGraphView::OnCreate(createStruct) == -1)
        return -1;
    m_pShowWatch = std::make_unique<ShowWatch>(this, GetWidget());
    m_bShown.store(GetWidget()->isVisible());
    return 0;
}

void CLDView::OnDestroy()
{
    m_Chart.Clear();
    if (CWnd* main = AfxGetMainWnd(); main && main != this)
        main->SendMessage(WM_LDVIEW_DESTROYED, 0, reinterpret_cast<LPARAM>(this));
    CGraphView::OnDestroy();
}

LRESULT CLDView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ANIMATION_UPDATE)
        return OnAnimationUpdate();
    return CGraphView::WindowProc(message, wParam, lParam);
}

void CLDView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    if (!GetLDDoc())
    {
        ProgramError("LDView", __LINE__, "no document");
        return;
    }
    switch (hint)
    {
    case HINT_NEW_LADDER:
        RebuildLadder(reinterpret_cast<CPlcFBDCode*>(hintObject));
        break;
    case HINT_CURRENT_NETWORK:
        m_bLayoutPending = 1;
        break;
    case HINT_LADDER_LOADED:
        if (CWnd* parent = GetParent(); parent && hintObject)
            parent->PostMessage(WM_LDVIEW_MODIFIED, static_cast<WPARAM>(*reinterpret_cast<int*>(hintObject)));
        break;
    default:
        CGraphView::OnUpdate(sender, hint, hintObject);
        break;
    }
}

void CLDView::RebuildLadder(CPlcFBDCode* code)
{
    CLDManager* manager = GetLDManager();
    if (!manager)
        return;
    SetRedraw(FALSE);
    const CPoint scroll = GetDeviceScrollPosition();
    EndInput();
    manager->ClearSelection();
    manager->RemoveAllNetworks();
    if (code)
        for (auto* network : PlcObjects<CPlcLDNetwork>(*code))
            manager->CreateNetworkFromObject(network, this);
    Renumber();
    UpdateScrollSizes();
    ScrollToPosition(scroll);
    LayoutNetworks();
    for (int i = 0; i < manager->GetNetworkCount(); ++i)
        PlaceRightRail(NetworkAt(i), -1);
    SetRedraw(TRUE);
    Invalidate();
}

void CLDView::OnSize(UINT type, int cx, int cy)
{
    CGraphView::OnSize(type, cx, cy);
    if (CLDManager* manager = GetLDManager())
        for (int i = 0; i < manager->GetNetworkCount(); ++i)
            PlaceRightRail(NetworkAt(i), -1);
    Invalidate();
}

void CLDView::PlaceRightRail(CNetworkWnd* network, int width)
{
    CLDManager* manager = GetLDManager();
    if (!manager || !network)
        return;
    if (width < 0)
    {
        CRect client;
        GetClientRect(&client);
        width = client.Width();
    }
    const int cx = std::max(1, manager->GetStepX());
    int columns = (width - network->GetHeaderRect().Width()) / cx;
    const int used = network->GetObjectWnd()->GetMaxColumn();
    if (used >= columns)
        columns = used + 2;
    if (columns < 2)
        return;
    if (CGraphPwrRail* left = manager->GetLeftRail(network); left && left->GetPosition().x != 0)
        MoveWithWires(left, 0, left->GetPosition().y);
    CGraphPwrRail* right = manager->GetRightRail(network);
    if (!right)
        return;
    const int common = manager->GetRightRailColumn();
    const int column = std::max(common >= 0 ? common : columns - 1, m_nMinColumn);
    if (right->GetPosition().x != column)
        MoveWithWires(right, column, right->GetPosition().y);
}

void CLDView::AlignRightRails()
{
    CLDManager* manager = GetLDManager();
    if (!manager)
        return;
    const int column = std::max({manager->GetRightRailColumn(), manager->GetUsedWidth(), m_nMinColumn});
    for (int i = 0; i < manager->GetNetworkCount(); ++i)
        if (CGraphPwrRail* right = manager->GetRightRail(NetworkAt(i));
            right && right->GetPosition().x != column)
            MoveWithWires(right, column, right->GetPosition().y);
    Invalidate();
}

void CLDView::EndDrag(CNetworkWnd* network, CPoint screen)
{
    CGraphBlock* dragged = m_pDragged;
    const bool moved = m_bMoved != 0;
    CGraphView::EndDrag(network, screen);
    if (moved && dragged && m_bAutoConnect && !IsReadOnly() &&
        GetGraphDoc()->ConnectElement(dragged, network))
        network->GetObjectWnd()->Invalidate(FALSE);
    if (dragged && dragged->GetType() == FBD_LD_POWER_RAIL && m_pManager->IsInSelection(dragged))
        m_pManager->ToggleSelection(dragged, true);
    AlignRightRails();
}

void CLDView::SetAutoConnect(bool on)
{
    m_bAutoConnect = on ? 1 : 0;
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt("Settings", "AutoConnect", on ? 1 : 0);
}

int CLDView::GetNetworkIndex() const
{
    return m_pManager ? m_pManager->IndexOf(m_pManager->GetCurrentNetwork()) : -1;
}

void CLDView::SelectNetwork(int index)
{
    CGraphDoc* doc = GetGraphDoc();
    CNetworkWnd* network = NetworkAt(index);
    if (!doc || !network)
        return;
    doc->SetCurrentNetwork(network);
    ScrollToPosition(CPoint(GetDeviceScrollPosition().x, index == 0 ? 0 : NetworkOffset(network)));
    LayoutNetworks();
}

CString CLDView::HostString(UINT id, const char* fallback) const
{
    CString text;
    if (CPluginIntf* host = m_pHost.load(); host && host->GetString(id, text) && !text.IsEmpty())
        return text;
    return fallback;
}

void CLDView::NewComment(CPoint cell)
{
    CGraphNetworkIntf* network = m_pManager ? m_pManager->GetCurrentNetwork() : nullptr;
    if (IsReadOnly() || !network)
        return;
    if (CGraphBlock* comment =
            m_pManager->CreateComment(network, cell.x, cell.y, HostString(12822, "Commento")))
    {
        SelectOnly(comment);
        GetGraphDoc()->SetModifiedFlag(TRUE);
    }
}

bool CLDView::FilePrint()
{
    return m_pPrinter && m_pPrinter->PrintView(this, m_pPrintInfo, GetParent(), false);
}

bool CLDView::FilePrintPreview()
{
    return m_pPrinter && m_pPrinter->PrintView(this, m_pPrintInfo, GetParent(), true);
}

void CLDView::UpdateLayout()
{
    m_bLayoutPending = 0;
    Renumber();
    LayoutNetworks();
    AlignRightRails();
    UpdateScrollSizes();
}

void CLDView::PlaceAt(CNetworkWnd*, CPoint cell)
{
    NewComment(cell);
}

void CLDView::EditElement(CGraphBlock* element)
{
    if (element && element->GetType() == FBD_CONST)
        CGraphView::EditElement(element);
    else
        EditOperand();
}

void CLDView::ShowContextMenu(CNetworkWnd*, CGraphBlock*, CPoint screen)
{
    CWnd* owner = GetParent();
    if (IsAnimated() || IsReadOnly() || !owner)
        return;
    CMenu menu;
    menu.AppendMenu(MF_STRING, kOwnerDelete, HostString(kOwnerDelete, "Elimina oggetto selezionato"));
    menu.AppendMenu(MF_STRING, kOwnerComment, HostString(kOwnerComment, "Inserisci un commento"));
    // Posted: the command rebuilds the windows whose input brought the menu.
    if (const UINT chosen = AfxGetPopupMenuSink()->Show(this, menu, screen))
        owner->PostMessage(WM_COMMAND, chosen, 0);
}

void CLDView::OnNetworkDblClk(CNetworkWnd* network, CPoint screen)
{
    // The press before it may have started a drag; the operand dialogs must not run under it.
    EndCapture();
    if (CGraphBlock* element = ElementAt(network, screen))
        SelectOnly(element);
    EditOperand();
}

void CLDView::OnNetworkKeyDown(CNetworkWnd* network, UINT key)
{
    if (key != VK_DELETE)
        CGraphView::OnNetworkKeyDown(network, key);
}

void CLDView::SelectElement(CGraphBlock* element)
{
    SelectOnly(element);
    if (!element)
        return;
    ShowObject(element);
    if (auto* network = static_cast<CNetworkWnd*>(element->GetNetwork()))
        network->GetObjectWnd()->Invalidate(FALSE);
}

void CLDView::EditOperand()
{
    if (IsAnimated() || IsReadOnly() || !m_pManager || m_pManager->GetSelection().size() != 1)
        return;
    CGraphObject* object = m_pManager->GetSelection().front();
    CString text;
    if (object->GetType() == FBD_COMMENT)
    {
        CCommentDlg dialog(this);
        dialog.m_strText = static_cast<CGraphComment*>(object)->GetText();
        if (dialog.DoModal() != IDOK)
            return;
        text = dialog.m_strText;
        if (text != static_cast<CGraphComment*>(object)->GetText())
            StoreEdit(static_cast<CGraphBlock*>(object), text);
        return;
    }
    if (AskOperand(object, text) && text != object->GetName())
        StoreEdit(static_cast<CGraphBlock*>(object), text);
}

bool CLDView::AskOperand(CGraphObject* object, CString& text)
{
    if (!m_pOperandDialogs)
        return false;
    const CString current = object->GetName();
    switch (object->GetType())
    {
    case FBD_FUNCTION:
    {
        if (current.Find("FIN") < 0)
            return false;
        LDFinOperand fin = ParseFinText(current);
        bool positive = !fin.negated;
        if (!m_pOperandDialogs->SelectFin(this, HostString(2055, ""), HostString(2056, ""), positive,
                                          fin.parameter, fin.bit))
            return false;
        fin.negated = !positive;
        text = FormatFinText(fin);
        return true;
    }
    case FBD_VARIABLE:
    {
        int parameter = ParseParameterText(current);
        int bit = 0;
        if (!m_pOperandDialogs->SelectBit(this, HostString(12031, "Selezione parametro"), true, parameter,
                                          bit))
            return false;
        text.Format("P%d", parameter);
        return true;
    }
    case FBD_LD_CONTACT:
    case FBD_LD_COIL:
    {
        int word = 0;
        int bit = 0;
        ParseBitText(current, word, bit);
        if (!m_pOperandDialogs->SelectBit(this, HostString(12031, "Selezione parametro"), false, word, bit))
            return false;
        text.Format("%d.%d", word, bit);
        return true;
    }
    default:
        return false;
    }
}

// The document is marked modified and the owner told at once, as a stored document tells it, so
// that the edit is kept when the owner closes.
void CLDView::StoreEdit(CGraphBlock* element, const CString& text)
{
    element->SetText(text);
    element->Invalidate();
    if (auto* network = static_cast<CNetworkWnd*>(element->GetNetwork()))
        network->GetObjectWnd()->Invalidate(FALSE);
    CGraphDoc* doc = GetGraphDoc();
    doc->SetModifiedFlag(TRUE);
    int modified = 1;
    doc->UpdateAllViews(nullptr, HINT_LADDER_LOADED, reinterpret_cast<CObject*>(&modified));
}

void CLDView::EnableAnimation(bool on)
{
    CLDManager* manager = GetLDManager();
    if (!GetLDDoc() || !manager)
    {
        ProgramError("LDView", __LINE__, "no document");
        return;
    }
    if (on)
    {
        m_Chart.GetNameList().RemoveAll();
        for (int i = 0; i < manager->GetNetworkCount(); ++i)
            NetworkAt(i)->CollectWatchNames(m_Chart.GetNameList());
        m_Chart.SetView(this);
        m_bShown.store(GetWidget()->isVisible());
        m_Chart.Start();
        m_bAnimated = 1;
        return;
    }
    m_Chart.Clear();
    for (int i = 0; i < manager->GetNetworkCount(); ++i)
    {
        CAnimationMap& map = NetworkAt(i)->GetAnimationMap();
        for (int k = 0; k < map.GetCount(); ++k)
            if (ANIMATION_ENTRY* entry = map.GetAt(k); entry->element && entry->element->IsActive())
            {
                entry->element->SetActive(false);
                entry->element->Invalidate();
            }
    }
    m_bAnimated = 0;
}

LRESULT CLDView::OnAnimationUpdate()
{
    CLDManager* manager = GetLDManager();
    if (!m_Chart.IsRunning() || !GetLDDoc() || !manager)
        return 0;
    for (int i = 0; i < manager->GetNetworkCount(); ++i)
    {
        CAnimationMap& map = NetworkAt(i)->GetAnimationMap();
        ANIMATION_ENTRY* left = map.GetCount() ? map.FindLeftRail() : nullptr;
        // A rung without a map or rail shows nothing; the rungs below still animate.
        if (!left)
            continue;
        map.ResetStates();
        EvaluatePowerFlow(static_cast<int>(left - map.GetAt(0)), map);
        for (int k = 0; k < map.GetCount(); ++k)
        {
            ANIMATION_ENTRY* entry = map.GetAt(k);
            if (!entry->evaluated || !entry->element)
                continue;
            const bool shown = ShownState(*entry);
            if (entry->element->IsActive() != shown)
            {
                entry->element->SetActive(shown);
                entry->element->Invalidate();
            }
        }
    }
    return 0;
}

void CLDView::EvaluatePowerFlow(int index, CAnimationMap& map)
{
    auto fail = [](int line) { ProgramError("LDView", line, "rung structure"); };
    while (ANIMATION_ENTRY* entry = map.GetAt(index))
    {
        auto previous = [&](size_t k) { return map.GetAt(entry->previous[k]); };
        switch (entry->model->m_nType)
        {
        case FBD_LD_POWER_RAIL:
            if (CAnimationMap::IsLeftRail(entry->model))
            {
                entry->power = 1;
                entry->evaluated = 1;
                break;
            }
            if (entry->previous.size() != 1)
                return fail(__LINE__);
            if (previous(0)->evaluated)
            {
                entry->power = previous(0)->power;
                entry->evaluated = 1;
            }
            return;
        case FBD_LD_CONTACT:
        {
            if (entry->previous.size() != 1)
                return fail(__LINE__);
            if (!previous(0)->evaluated)
                return;
            int bit = 0;
            // A contact without a watched operand does not conduct.
            const bool read = entry->element && m_Chart.GetValue(entry->element->GetName(), &bit);
            const bool on = read && bit != 0;
            entry->conducts = (CAnimationMap::IsNegated(entry->model) ? read && !on : on) ? 1 : 0;
            entry->power = previous(0)->power && entry->conducts;
            entry->evaluated = 1;
            break;
        }
        case FBD_LD_COIL:
        case FBD_CONNECTION:
        case FBD_FUNCTION:
            if (entry->previous.size() != 1)
                return fail(__LINE__);
            if (!previous(0)->evaluated)
                return;
            entry->power = previous(0)->power;
            entry->evaluated = 1;
            break;
        case FBD_CROSS:
            if (entry->next.size() > 1 && entry->previous.size() == 1)
            {
                if (!previous(0)->evaluated)
                    return;
                entry->power = previous(0)->power;
                entry->evaluated = 1;
                const std::vector<int> branches = entry->next;
                for (int next : branches)
                    EvaluatePowerFlow(next, map);
                return;
            }
            if (entry->previous.empty())
                return fail(__LINE__);
            entry->power = 0;
            for (size_t k = 0; k < entry->previous.size(); ++k)
            {
                if (!previous(k)->evaluated)
                    return; // a later branch completes the join
                entry->power |= previous(k)->power;
            }
            entry->evaluated = 1;
            break;
        default:
            return;
        }
        // A wire into a box the map does not hold ends the walk there.
        if (entry->next.empty())
            return;
        if (entry->next.size() != 1)
            return fail(__LINE__);
        index = entry->next.front();
    }
}
