#include "GraphDoc.h"

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/CrossConnection.h>
#include <TvskLumoPlc/graph/GraphExeBlock.h>
#include <TvskLumoPlc/graph/GraphTextFile.h>

#include <ZoLumoPlcObj/PlcLDNetwork.h>
#include <ZoSupport/ZoSupport.h>

#include <framework/Archive.h>

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
    return manager && Modified(manager->AddWire(network, wire, true));
}

bool CGraphDoc::RemoveWire(CGraphNetworkIntf* network, CConnection* wire)
{
    CGraphManager* manager = Manager(__LINE__);
    return manager && Modified(manager->RemoveWire(network, wire));
}

bool CGraphDoc::AddCross(CGraphNetworkIntf* network, CCrossConnection* cross)
{
    CGraphManager* manager = Manager(__LINE__);
    return manager && Modified(manager->AddCross(network, cross, true));
}

bool CGraphDoc::RemoveCross(CGraphNetworkIntf* network, CCrossConnection* cross)
{
    CGraphManager* manager = Manager(__LINE__);
    return manager && Modified(manager->RemoveCross(network, cross));
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
        if (end.point != at)
            continue;
        if (!end.object)
            wire->SetEndObject(start, pin, start ? CConnection::END_OUTPUT : CConnection::END_INPUT);
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
