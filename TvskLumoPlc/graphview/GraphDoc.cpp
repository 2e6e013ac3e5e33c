#include "GraphDoc.h"

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/CrossConnection.h>
#include <TvskLumoPlc/graph/GraphExeBlock.h>
#include <TvskLumoPlc/graph/GraphTextFile.h>

#include <ZoLumoPlcObj/PlcLDNetwork.h>
#include <ZoSupport/ZoSupport.h>

#include <framework/Archive.h>

#include <string>

IMPLEMENT_DYNAMIC(CGraphDoc, CDocumentRO)
IMPLEMENT_DYNCREATE(CLDDoc, CGraphDoc)

CGraphDoc::~CGraphDoc() = default;

CGraphManager* CGraphDoc::Manager(int line) const
{
    if (!m_pManager)
        ProgramError(SourceName(), line, "no manager");
    return m_pManager.get();
}

int CGraphDoc::GetNetworkCount() const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->GetNetworkCount() : 0;
}

CGraphNetworkIntf* CGraphDoc::GetNetwork(int i) const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->GetNetwork(i) : nullptr;
}

CGraphNetworkIntf* CGraphDoc::GetNetworkByNumber(int number) const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->NetworkByNumber(number) : nullptr;
}

int CGraphDoc::IndexOfNetwork(const CGraphNetworkIntf* network) const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->IndexOf(network) : -1;
}

CGraphNetworkIntf* CGraphDoc::CreateNetwork(CWnd* parent, int placement, int width, int height)
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->CreateNetwork(parent, placement, width, height, true, true) : nullptr;
}

void CGraphDoc::RemoveNetwork(CGraphNetworkIntf* network)
{
    if (CGraphManager* manager = Manager(__LINE__))
        manager->RemoveNetwork(network);
}

CGraphNetworkIntf* CGraphDoc::GetCurrentNetwork() const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->GetCurrentNetwork() : nullptr;
}

void CGraphDoc::SetCurrentNetwork(CGraphNetworkIntf* network, bool notify)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!manager || manager->GetCurrentNetwork() == network)
        return;
    manager->SetCurrentNetwork(network);
    if (notify)
        UpdateAllViews(nullptr, HINT_CURRENT_NETWORK);
}

CGraphObjArray* CGraphDoc::GetNetworkElements(const CGraphNetworkIntf* network) const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->GetElements(network) : nullptr;
}

bool CGraphDoc::Modified(bool changed)
{
    if (changed)
        SetModifiedFlag(TRUE);
    return changed;
}

bool CGraphDoc::AddElement(CGraphNetworkIntf* network, CGraphBlock* element)
{
    CGraphManager* manager = Manager(__LINE__);
    return manager && Modified(manager->AddElement(network, element, true));
}

bool CGraphDoc::RemoveElement(CGraphNetworkIntf* network, CGraphBlock* element)
{
    CGraphManager* manager = Manager(__LINE__);
    return manager && Modified(manager->RemoveElement(network, element));
}

bool CGraphDoc::AddWire(CGraphNetworkIntf* network, CConnection* wire)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!manager || !Modified(manager->AddWire(network, wire, true)))
        return false;
    ShowObject(network);
    return true;
}

bool CGraphDoc::RemoveWire(CGraphNetworkIntf* network, CConnection* wire)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!manager || !Modified(manager->RemoveWire(network, wire)))
        return false;
    ShowObject(network);
    return true;
}

bool CGraphDoc::AddCross(CGraphNetworkIntf* network, CCrossConnection* cross)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!manager || !Modified(manager->AddCross(network, cross, true)))
        return false;
    ShowObject(network);
    return true;
}

bool CGraphDoc::RemoveCross(CGraphNetworkIntf* network, CCrossConnection* cross)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!manager || !Modified(manager->RemoveCross(network, cross)))
        return false;
    ShowObject(network);
    return true;
}

bool CGraphDoc::IsNameFree(const char* name) const
{
    CGraphManager* manager = Manager(__LINE__);
    return !manager || !manager->IsNameUsed(name);
}

CString CGraphDoc::GetText() const
{
    CString text;
    if (CGraphManager* manager = Manager(__LINE__))
        manager->GetText(text);
    return text;
}

void CGraphDoc::SelectRect(const CRect& pixels)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!manager)
        return;
    manager->SelectRect(manager->GetCurrentNetwork(), pixels);
    UpdateAllViews(nullptr, HINT_RECT_SELECTED);
}

bool CGraphDoc::ConnectElement(CGraphBlock* element, CGraphNetworkIntf* network)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!element || !network || !manager)
    {
        ProgramError(SourceName(), __LINE__, "no element, network or manager");
        return false;
    }
    bool connected = false;
    if (CConnectionList* wires = manager->GetWires(network))
        for (CConnection* wire : *wires)
        {
            if (!wire->IsSelected())
                continue;
            for (CGraphPin* pin : element->AllPins())
                if (ConnectPinToWire(pin, wire))
                {
                    connected = true;
                    break;
                }
            if (connected)
                break;
        }
    if (CGraphObjArray* elements = manager->GetElements(network))
        for (CGraphBlock* other : *elements)
            if (other != element && ConnectTouchingPins(element, other))
                connected = true;
    if (connected)
        SetModifiedFlag(TRUE);
    return connected;
}

bool CGraphDoc::ConnectPinToWire(CGraphPin* pin, CConnection* wire)
{
    if (!pin || !wire || pin->GetConnection())
        return false;
    const CPoint at = pin->GetPosition();
    for (const bool start : {true, false})
    {
        const CConnection::End& end = start ? wire->GetStart() : wire->GetEnd();
        if (end.point != at || end.object)
            continue;
        // The pin holds the wire as well, so that its element's removal frees the end.
        wire->SetEndObject(start, pin,
                           pin->GetSide() == CGraphPin::SIDE_INPUT ? CConnection::END_INPUT
                                                                   : CConnection::END_OUTPUT);
        pin->SetConnection(wire);
        wire->Validate();
        return true;
    }
    return false;
}

bool CGraphDoc::ConnectTouchingPins(CGraphBlock* element, CGraphBlock* other)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!manager || !element || !other || !element->GetNetwork())
        return false;
    bool made = false;
    for (CGraphPin* pin : element->AllPins())
    {
        if (pin->GetConnection())
            continue;
        const CPoint at = pin->GetPosition();
        CGraphPin* partner = other->PinAt(at.x, at.y);
        if (!partner || partner->GetConnection())
            continue;
        auto* wire = new CConnection;
        if (!wire->Connect(pin, partner, true) || !manager->AddWire(element->GetNetwork(), wire, true))
        {
            delete wire;
            return false;
        }
        made = true;
    }
    // An operator's shown ENO also takes the wire whose free end lies at it.
    CGraphPin* eno = element->GetType() == FBD_OPERATOR ? element->PinByName("ENO") : nullptr;
    if (eno && !eno->GetConnection())
        if (CConnectionList* wires = manager->GetWires(element->GetNetwork()))
            for (CConnection* wire : *wires)
                if (ConnectPinToWire(eno, wire))
                {
                    made = true;
                    break;
                }
    return made;
}

void CGraphDoc::PurgeWires(CGraphNetworkIntf* network, bool markModified)
{
    CGraphManager* manager = Manager(__LINE__);
    if (!manager)
        return;
    if (!network)
        network = manager->GetCurrentNetwork();
    CConnectionList* wires = manager->GetWires(network);
    if (!wires)
        return;
    bool deleted = false;
    for (int i = wires->GetSize() - 1; i >= 0; --i)
    {
        CConnection* wire = wires->GetAt(i);
        if (wire->IsOpen())
        {
            manager->RemoveWire(network, wire);
            deleted = true;
        }
    }
    if (deleted && markModified)
        SetModifiedFlag(TRUE);
}

void CGraphDoc::MoveNetwork(CGraphNetworkIntf* network, int position)
{
    if (CGraphManager* manager = Manager(__LINE__))
        manager->MoveNetwork(network, position);
}

CString CGraphDoc::GetNetworkComment(int i) const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->GetComment(i) : CString();
}

int CGraphDoc::GetWireCount(const CGraphNetworkIntf* network) const
{
    CGraphManager* manager = Manager(__LINE__);
    const CConnectionList* wires = manager ? manager->GetWires(network) : nullptr;
    return wires ? wires->GetSize() : 0;
}

CConnection* CGraphDoc::GetWire(const CGraphNetworkIntf* network, int i) const
{
    CGraphManager* manager = Manager(__LINE__);
    const CConnectionList* wires = manager ? manager->GetWires(network) : nullptr;
    return wires ? wires->GetAt(i) : nullptr;
}

int CGraphDoc::FindWire(const CGraphNetworkIntf* network, const CConnection* wire) const
{
    CGraphManager* manager = Manager(__LINE__);
    const CConnectionList* wires = manager ? manager->GetWires(network) : nullptr;
    return wires ? wires->Find(wire) : -1;
}

int CGraphDoc::GetCrossCount(const CGraphNetworkIntf* network) const
{
    CGraphManager* manager = Manager(__LINE__);
    const CCrossList* crosses = manager ? manager->GetCrosses(network) : nullptr;
    return crosses ? crosses->GetSize() : 0;
}

CCrossConnection* CGraphDoc::GetCross(const CGraphNetworkIntf* network, int i) const
{
    CGraphManager* manager = Manager(__LINE__);
    const CCrossList* crosses = manager ? manager->GetCrosses(network) : nullptr;
    return crosses ? crosses->GetAt(i) : nullptr;
}

int CGraphDoc::FindCross(const CGraphNetworkIntf* network, const CCrossConnection* cross) const
{
    CGraphManager* manager = Manager(__LINE__);
    const CCrossList* crosses = manager ? manager->GetCrosses(network) : nullptr;
    return crosses ? crosses->Find(cross) : -1;
}

CGraphBlock* CGraphDoc::FindByKey(const char* key) const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->FindElementByKey(key) : nullptr;
}

CGraphNetworkIntf* CGraphDoc::SelectByKey(const char* key)
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->SelectByKey(key) : nullptr;
}

bool CGraphDoc::HitTest(const CGraphNetworkIntf* network, int x, int y, GRAPH_HIT& hit) const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager && manager->HitTest(network, x, y, hit);
}

COLORREF CGraphDoc::GetColor(GraphColor role) const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->GetColor(role) : 0;
}

int CGraphDoc::GetFontSize() const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->GetFontSize() : 0;
}

CString CGraphDoc::GetFontName() const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager ? manager->GetFontName() : CString();
}

bool CGraphDoc::IsGridShown() const
{
    CGraphManager* manager = Manager(__LINE__);
    return manager && manager->IsGridShown();
}

void CGraphDoc::ShowObject(CGraphNetworkIntf* network)
{
    UpdateAllViews(nullptr, HINT_OBJECT, reinterpret_cast<CObject*>(network));
}

void CGraphDoc::SendEvent(LPARAM value)
{
    UpdateAllViews(nullptr, HINT_EVENT, reinterpret_cast<CObject*>(value));
}

void CGraphDoc::SendValueEvent(LPARAM value, bool withoutValue)
{
    if (withoutValue)
        UpdateAllViews(nullptr, HINT_PLAIN_EVENT, nullptr);
    else
        UpdateAllViews(nullptr, HINT_VALUE_EVENT, reinterpret_cast<CObject*>(value));
}

void CGraphDoc::SendTextEvent(const char* text)
{
    UpdateAllViews(nullptr, HINT_TEXT_EVENT, reinterpret_cast<CObject*>(const_cast<char*>(text ? text : "")));
}

BOOL CGraphDoc::OnNewDocument()
{
    if (!CDocumentRO::OnNewDocument())
        return FALSE;
    if (CGraphManager* manager = Manager(__LINE__))
        manager->RemoveAllNetworks();
    return TRUE;
}

BOOL CGraphDoc::OnCommand(UINT id)
{
    if (id != ID_GRAPHDOC_FILE_SAVE)
        return FALSE;
    WriteTextFile();
    return TRUE;
}

// ---- ladder document ----

CLDDoc::CLDDoc() : CGraphDoc(std::make_unique<CLDManager>()) {}

CLDDoc::~CLDDoc()
{
    // The windows go before the code their elements point into.
    if (m_pManager)
        m_pManager->RemoveAllNetworks();
}

BOOL CLDDoc::OnNewDocument()
{
    if (!CGraphDoc::OnNewDocument())
        return FALSE;
    auto code = std::make_unique<CPlcFBDCode>();
    for (const auto& [name, height] : {std::pair{"0", 20}, std::pair{"1", 10}})
    {
        auto* network = new CPlcLDNetwork;
        network->m_strID = name;
        network->m_strName = name;
        network->m_nX = 0;
        network->m_nY = height;
        code->AddTail(network);
    }
    ShowCode(std::move(code));
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CLDDoc::ShowCode(std::unique_ptr<CPlcFBDCode> code)
{
    UpdateAllViews(nullptr, HINT_NEW_LADDER, reinterpret_cast<CObject*>(code.get()));
    m_pCode = std::move(code);
}

void CLDDoc::Serialize(CArchive& archive)
{
    if (!GetLDManager())
    {
        ProgramError("LDDoc", __LINE__, "no ladder manager");
        return;
    }
    if (archive.IsStoring())
    {
        const CString text = GetText();
        archive.Write(text.GetString(), static_cast<UINT>(text.GetLength()));
    }
    else
    {
        std::string text;
        char chunk[4096];
        while (const UINT got = archive.Read(chunk, sizeof(chunk)))
            text.append(chunk, got);
        // A document read into an empty graph gets its networks in the first view.
        if (!GetLDManager()->SetText(text.c_str(), GetFirstView()))
        {
            ProgramError("LDDoc", __LINE__, "unreadable graph text");
            return;
        }
    }
    // The views hear the modified state (their dialog marks its caption), not the archive.
    int modified = IsModified() ? 1 : 0;
    UpdateAllViews(nullptr, HINT_LADDER_LOADED, reinterpret_cast<CObject*>(&modified));
}

bool CLDDoc::WriteTextFile()
{
    CLDManager* manager = GetLDManager();
    if (!manager)
    {
        ProgramError("LDDoc", __LINE__, "no ladder manager");
        return false;
    }
    return WriteGraphTextFile(manager, m_strTextFile);
}

CGraphNetworkIntf* CLDDoc::GetNetworkWnd(int i) const
{
    return GetNetwork(i);
}

CGraphNetworkIntf* CLDDoc::GetNetworkWndByNumber(int number) const
{
    return GetNetworkByNumber(number);
}

CString CLDDoc::GetRungText(int i) const
{
    return GetNetworkComment(i);
}

int CLDDoc::GetObjectCount(const CGraphNetworkIntf* network) const
{
    const CGraphObjArray* elements = GetNetworkElements(network);
    return (elements ? elements->GetSize() : 0) + GetWireCount(network) + GetCrossCount(network);
}

int CLDDoc::GetRightRailColumn() const
{
    CLDManager* manager = GetLDManager();
    if (!manager)
        ProgramError("LDDoc", __LINE__, "no ladder manager");
    return manager ? manager->GetRightRailColumn() : -1;
}

int CLDDoc::GetUsedWidth() const
{
    CLDManager* manager = GetLDManager();
    if (!manager)
        ProgramError("LDDoc", __LINE__, "no ladder manager");
    return manager ? manager->GetUsedWidth() : -1;
}
