// The model behind a graph document: networks with their elements, wires and junctions, the
// selection, the display settings, and the import of generated networks.
#pragma once

#include <TvskLumoPlc/graph/ConnectionList.h>
#include <TvskLumoPlc/graph/GraphBlock.h>
#include <TvskLumoPlc/graph/GraphOwnerIntf.h>
#include <TvskLumoPlc/graph/NetworkIntf.h>

#include <map>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

class CPlcFBDConnection;
class CPlcFBDCross;
class CPlcFBDNetwork;
class CPlcFBDObjList;
class CWnd;

// What lies at a grid point: a junction, a free pin or a wire.
struct GRAPH_HIT
{
    CGraphObject* object = nullptr;
    CString name;
    int x = 0;
    int y = 0;
    CString reference;
};

class CGraphManager : public CGraphFace
{
public:
    enum Placement
    {
        PLACE_FIRST = 0,
        PLACE_BEFORE = 1,
        PLACE_AFTER = 2,
        PLACE_LAST = 3
    };
    static constexpr int DefaultNetworkWidth = 200;
    static constexpr int DefaultNetworkHeight = 12;
    static constexpr int DefaultFontSize = 70;

    // Loads the settings and makes the font; the fixed face measures until another is set.
    CGraphManager();
    ~CGraphManager() override;

    // Grid, font and colours.
    int GetStepX() const override { return m_nStepX; }
    int GetStepY() const override { return m_nStepY; }
    bool HasFont() const override { return m_pMetrics && m_pMetrics->HasFont(); }
    CSize GetTextExtent(const char* text, bool bold) const override;
    COLORREF GetColor(GraphColor role) const override;
    bool CheckConstant(CGraphConst* constant, const char* value) override;
    void SetColor(GraphColor role, COLORREF color);
    void SetTextMetrics(std::unique_ptr<CGraphTextMetrics> metrics);
    // Size in tenths of a point; the grid step becomes the text height (at least 1).
    virtual void SetFont(int size, const char* face);
    int GetFontSize() const noexcept { return m_nFontSize; }
    const CString& GetFontName() const noexcept { return m_strFontName; }
    bool IsGridShown() const noexcept { return m_bGrid; }
    void ShowGrid(bool shown) noexcept { m_bGrid = shown; }
    void LoadSettings();
    void SaveSettings() const;
    // The window background is the desktop's window colour unless the profile holds one; the
    // desktop's colour is not stored with the settings, so the background keeps following it.
    void UseWindowColor(COLORREF windowColor);
    // The background becomes the desktop's window colour, stored or not (the desktop changed).
    void FollowWindowColor(COLORREF windowColor);
    static bool IsBackgroundStored();

    void SetOwner(CGraphOwnerIntf* owner) noexcept { m_pOwner = owner; }
    CGraphOwnerIntf* GetOwner() const noexcept { return m_pOwner; }

    // Networks in their order on screen and in the text form.
    int GetNetworkCount() const noexcept { return static_cast<int>(m_Networks.size()); }
    CGraphNetworkIntf* GetNetwork(int i) const;
    int IndexOf(const CGraphNetworkIntf* network) const;
    CGraphNetworkIntf* NetworkByNumber(int number) const;
    CString GetComment(int i) const;
    void MoveNetwork(CGraphNetworkIntf* network, int position);
    void SetCurrentNetwork(CGraphNetworkIntf* network);
    CGraphNetworkIntf* GetCurrentNetwork() const noexcept { return m_pCurrent; }
    virtual CGraphNetworkIntf* CreateNetwork(CWnd* parent, int placement, int width, int height, bool first,
                                             bool second);
    virtual void RemoveNetwork(CGraphNetworkIntf* network);
    virtual void RemoveAllNetworks();

    // The lists of a network; null for a network the manager does not hold.
    CGraphObjArray* GetElements(const CGraphNetworkIntf* network) const;
    CConnectionList* GetWires(const CGraphNetworkIntf* network) const;
    CCrossList* GetCrosses(const CGraphNetworkIntf* network) const;
    bool AddElement(CGraphNetworkIntf* network, CGraphBlock* element, bool renumber);
    bool AddWire(CGraphNetworkIntf* network, CConnection* wire, bool renumber);
    bool AddCross(CGraphNetworkIntf* network, CCrossConnection* cross, bool renumber);
    // Out of the selection and every pin, arm and wire end first, then deleted.
    bool RemoveElement(CGraphNetworkIntf* network, CGraphBlock* element, bool notify = true);
    bool RemoveWire(CGraphNetworkIntf* network, CConnection* wire, bool notify = true);
    bool RemoveCross(CGraphNetworkIntf* network, CCrossConnection* cross, bool notify = true);
    CGraphBlock* ElementByName(const CGraphNetworkIntf* network, const char* name) const;
    CGraphBlock* FirstLabel(const CGraphNetworkIntf* network) const;

    // Factory and import of generated objects.
    CGraphBlock* CreateElement(CGraphNetworkIntf* network, CPlcFBDObject* model, bool flag = false);
    CGraphBlock* CreateComment(CGraphNetworkIntf* network, int x, int y, const char* text);
    CConnection* ImportWire(CGraphNetworkIntf* network, CPlcFBDConnection* model);
    CCrossConnection* ImportCross(CGraphNetworkIntf* network, CPlcFBDCross* model);
    // Joins every open wire end to its junction or pin, moving the end onto it.
    void ConnectWireEnds(CGraphNetworkIntf* network);
    // A whole generated network into the window: its elements, junctions and wires, the wire ends
    // joined, and the comment of its first comment element.
    bool ImportNetwork(CGraphNetworkIntf* network, CPlcFBDNetwork* model);
    virtual bool IsGraphElement(const CGraphObject* object) const;

protected:
    // The objects of one generated list that were not imported yet.
    void ImportElements(CGraphNetworkIntf* network, const CPlcFBDObjList& list,
                        std::unordered_set<const CPlcFBDObject*>& taken);
    // The junctions and wires of the generated connection networks and of the network's own lists.
    void ImportConnections(CGraphNetworkIntf* network, const CPlcFBDNetwork& model,
                           std::unordered_set<const CPlcFBDObject*>& taken);
    // The text of the generated network's first comment, empty when it has none.
    static CString FirstComment(const CPlcFBDNetwork& model);

public:
    // Keys and references.
    virtual int TypeFromTag(const char* tag) const;
    CGraphBlock* FindElementByRef(const CGraphNetworkIntf* network, const char* reference) const;
    CGraphBlock* FindElementByKey(const char* key) const;
    CGraphNetworkIntf* SelectByKey(const char* text);
    static void SplitPinRef(const char* text, CString& id, CString& pin);
    // Joins one end of an imported wire to the candidate's pin when the end's reference names it;
    // false only for invalid arguments.
    bool ResolvePinConnection(CConnection* wire, bool start, CGraphBlock* candidate);
    // The graph text form of every network.
    bool GetText(CString& text) const;
    // Reads the text form back onto the networks of the same numbers: their heights and comments.
    // With a parent window, networks numbered past the last one are made there (a document read
    // into an empty graph). False, and nothing changed, when a line is malformed or names a network
    // that is not there and cannot be made.
    bool SetText(const char* text, CWnd* parent = nullptr);

    // Selection.
    const std::vector<CGraphObject*>& GetSelection() const noexcept { return m_Selection; }
    bool IsInSelection(const CGraphObject* object) const;
    void ToggleSelection(CGraphObject* object, bool keep);
    void ClearSelection();
    void SelectRect(CGraphNetworkIntf* network, const CRect& pixels);
    void DeselectAll(CGraphNetworkIntf* network);
    virtual void DeleteSelection() {}

    // Names and numbers.
    int HighestElementNumber(const CGraphNetworkIntf* network) const;
    int HighestWireNumber(const CGraphNetworkIntf* network) const;
    int HighestCrossNumber(const CGraphNetworkIntf* network) const;
    bool IsNameUsed(const char* name) const;
    CString MakeUniqueName(const char* proposed) const;

    // Geometry.
    // Smallest and largest row of the elements but power rails and labels; empty without any.
    CRect GetUsedRect(const CGraphNetworkIntf* network) const;
    void NormalizePositions(CGraphNetworkIntf* network);
    bool HitTest(const CGraphNetworkIntf* network, int x, int y, GRAPH_HIT& hit) const;
    // Whether a wire's segment may run between the grid points: along a row or a column, and
    // through no element's body (touching its edge, where the pins are, is allowed).
    bool CanDrawSegment(const CGraphNetworkIntf* network, CPoint from, CPoint to) const;

protected:
    struct NetworkLists
    {
        CGraphObjArray elements;
        CConnectionList wires;
        CCrossList crosses;
    };

    // A new, unbound element of the type, or null for a type this manager does not make.
    virtual CGraphBlock* NewElement(int type) const;
    // Types whose pins are found by number and pin name.
    virtual bool MatchesByNumberAndPin(int type) const;
    virtual const char* SourceName() const { return "GraphManager"; }
    void ForgetObject(CGraphObject* object);
    void Notify(CGraphNetworkIntf* network);

    bool m_bGrid = true;
    int m_nFontSize = DefaultFontSize;
    CString m_strFontName = "Arial";
    std::unique_ptr<CGraphTextMetrics> m_pMetrics;
    int m_nStepX = 1;
    int m_nStepY = 1;
    COLORREF m_Colors[GraphColorCount] = {};
    // The desktop's window colour as last given, while the background follows it.
    std::optional<COLORREF> m_DesktopWindowColor;
    std::vector<CGraphNetworkIntf*> m_Networks;
    std::map<const CGraphNetworkIntf*, std::unique_ptr<NetworkLists>> m_Lists;
    std::vector<CGraphObject*> m_Selection;
    CGraphOwnerIntf* m_pOwner = nullptr;
    CGraphNetworkIntf* m_pCurrent = nullptr;
};
