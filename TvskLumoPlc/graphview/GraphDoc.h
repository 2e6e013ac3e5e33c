// Documents of the graph editor: the graph document puts a graph manager behind the document
// interface; the ladder document owns a ladder manager and the generated code its windows show.
#pragma once

#include <TvskLumoPlc/graph/LDManager.h>
#include <TvskLumoPlc/textview/DocumentRO.h>

#include <ZoLumoPlcObj/PlcFBDCode.h>

#include <memory>

class CArchive;

// Update hints of the graph documents.
constexpr LPARAM HINT_NEW_LADDER = 2;
constexpr LPARAM HINT_REBUILD = 3;
constexpr LPARAM HINT_OBJECT = 4;
constexpr LPARAM HINT_RECT_SELECTED = 21;
constexpr LPARAM HINT_CURRENT_NETWORK = 22;
constexpr LPARAM HINT_EVENT = 32;
constexpr LPARAM HINT_VALUE_EVENT = 33;
constexpr LPARAM HINT_PLAIN_EVENT = 34;
constexpr LPARAM HINT_TEXT_EVENT = 35;
constexpr LPARAM HINT_LADDER_LOADED = 36;

constexpr UINT ID_GRAPHDOC_FILE_SAVE = 0xE103;

class CGraphDoc : public CDocumentRO
{
    DECLARE_DYNAMIC(CGraphDoc)

public:
    CGraphDoc() = default;
    explicit CGraphDoc(std::unique_ptr<CGraphManager> manager) : m_pManager(std::move(manager)) {}
    ~CGraphDoc() override;

    CGraphManager* GetManager() const noexcept { return m_pManager.get(); }

    // Networks.
    int GetNetworkCount() const;
    CGraphNetworkIntf* GetNetwork(int i) const;
    CGraphNetworkIntf* GetNetworkByNumber(int number) const;
    int IndexOfNetwork(const CGraphNetworkIntf* network) const;
    CGraphNetworkIntf* CreateNetwork(CWnd* parent, int placement, int width, int height);
    void RemoveNetwork(CGraphNetworkIntf* network);
    void MoveNetwork(CGraphNetworkIntf* network, int position);
    CString GetNetworkComment(int i) const;
    CGraphNetworkIntf* GetCurrentNetwork() const;
    // Hint 22 when the network was not current yet.
    void SetCurrentNetwork(CGraphNetworkIntf* network, bool notify = true);

    // Elements, wires and junctions; a change the manager accepts marks the document modified.
    CGraphObjArray* GetNetworkElements(const CGraphNetworkIntf* network) const;
    bool AddElement(CGraphNetworkIntf* network, CGraphBlock* element);
    bool RemoveElement(CGraphNetworkIntf* network, CGraphBlock* element);
    bool AddWire(CGraphNetworkIntf* network, CConnection* wire);
    bool RemoveWire(CGraphNetworkIntf* network, CConnection* wire);
    bool AddCross(CGraphNetworkIntf* network, CCrossConnection* cross);
    bool RemoveCross(CGraphNetworkIntf* network, CCrossConnection* cross);
    int GetWireCount(const CGraphNetworkIntf* network) const;
    CConnection* GetWire(const CGraphNetworkIntf* network, int i) const;
    // The wire's index in its network's list, -1 when it is not there.
    int FindWire(const CGraphNetworkIntf* network, const CConnection* wire) const;
    int GetCrossCount(const CGraphNetworkIntf* network) const;
    CCrossConnection* GetCross(const CGraphNetworkIntf* network, int i) const;
    int FindCross(const CGraphNetworkIntf* network, const CCrossConnection* cross) const;
    bool IsNameFree(const char* name) const;
    // Object keys: the element a key names, and the selection of what a key names (its network).
    CGraphBlock* FindByKey(const char* key) const;
    CGraphNetworkIntf* SelectByKey(const char* key);
    bool HitTest(const CGraphNetworkIntf* network, int x, int y, GRAPH_HIT& hit) const;
    COLORREF GetColor(GraphColor role) const;
    int GetFontSize() const;
    CString GetFontName() const;
    bool IsGridShown() const;
    CString GetText() const;
    // Selects what touches the rectangle in the current network, then hint 21.
    void SelectRect(const CRect& pixels);

    // Joining steps of placed elements and wires.
    bool ConnectElement(CGraphBlock* element, CGraphNetworkIntf* network);
    bool ConnectPinToWire(CGraphPin* pin, CConnection* wire);
    bool ConnectTouchingPins(CGraphBlock* element, CGraphBlock* other);
    // Deletes the network's broken wires, last first; modified when asked and one went.
    void PurgeWires(CGraphNetworkIntf* network, bool markModified);

    BOOL OnNewDocument() override;
    // The views hear of a network whose wires or junctions changed (hint 4), a document event (32), an event
    // with a value (33) or without one (34), and a text event (35).
    void ShowObject(CGraphNetworkIntf* network);
    void SendEvent(LPARAM value);
    void SendValueEvent(LPARAM value, bool withoutValue);
    void SendTextEvent(const char* text);
    // File Save (0xE103) writes whatever the modified state; TRUE when the command is the document's.
    virtual BOOL OnCommand(UINT id);
    virtual bool WriteTextFile() { return false; }

protected:
    // The manager, or a program error (source of the document class) when there is none.
    CGraphManager* Manager(int line) const;
    virtual const char* SourceName() const { return "GraphDoc"; }
    // Marks the document modified when the manager reported a change.
    bool Modified(bool changed);

    std::unique_ptr<CGraphManager> m_pManager;
};

class CLDDoc : public CGraphDoc
{
    DECLARE_DYNCREATE(CLDDoc)

public:
    CLDDoc();
    ~CLDDoc() override;

    CLDManager* GetLDManager() const noexcept { return static_cast<CLDManager*>(m_pManager.get()); }
    // Two empty networks, "0" 20 rows high and "1" 10 rows high, shown through hint 2.
    BOOL OnNewDocument() override;
    // Shows new generated code through hint 2 and keeps it while its windows stand; the old code
    // goes after the new windows are made.
    void ShowCode(std::unique_ptr<CPlcFBDCode> code);
    CPlcFBDCode* GetCode() const noexcept { return m_pCode.get(); }
    // Stores the graph text form; then hint 36 with a pointer to the modified state (an int).
    void Serialize(CArchive& archive);
    bool WriteTextFile() override;
    void SetTextFilePath(const char* path) { m_strTextFile = path; }

    CGraphNetworkIntf* GetNetworkWnd(int i) const;
    CGraphNetworkIntf* GetNetworkWndByNumber(int number) const;
    // The rung's comment.
    CString GetRungText(int i) const;
    // Elements, wires and junctions of the rung.
    int GetObjectCount(const CGraphNetworkIntf* network) const;
    int GetRightRailColumn() const;
    int GetUsedWidth() const;

protected:
    const char* SourceName() const override { return "LDDoc"; }

private:
    std::unique_ptr<CPlcFBDCode> m_pCode;
    CString m_strTextFile = "LumoPlc.plc";
};
