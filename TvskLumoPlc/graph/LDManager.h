// The graph manager of ladder documents: power rails, contacts and coils, the import of generated
// ladder networks, an object index per network, rail queries, and deleting a selection.
#pragma once

#include <TvskLumoPlc/graph/GraphManager.h>

class CGraphCoil;
class CGraphPwrRail;
class CPlcLDNetwork;

// The elements of one row of a ladder network.
class CLDRowList
{
public:
    ~CLDRowList() { m_Elements.clear(); }
    std::vector<CGraphBlock*>& Elements() noexcept { return m_Elements; }

private:
    std::vector<CGraphBlock*> m_Elements;
};

class CLDManager : public CGraphManager
{
public:
    CLDManager() = default;
    ~CLDManager() override;

    // A window of the generated network's size filled from it; null unless the object is a ladder network.
    CGraphNetworkIntf* CreateNetworkFromObject(CPlcFBDObject* model, CWnd* parent);
    bool ImportNetwork(CGraphNetworkIntf* network, CPlcLDNetwork* model);
    CGraphNetworkIntf* CreateNetwork(CWnd* parent, int placement, int width, int height, bool first,
                                     bool second) override;
    void RemoveNetwork(CGraphNetworkIntf* network) override;
    CLDRowList* GetRowList(const CGraphNetworkIntf* network) const;

    CGraphPwrRail* GetRightRail(const CGraphNetworkIntf* network) const;
    CGraphPwrRail* GetLeftRail(const CGraphNetworkIntf* network) const;
    int GetRightRailColumn() const;
    int GetUsedWidth() const;
    int CountCoils(const CGraphNetworkIntf* network) const;
    bool IsGraphElement(const CGraphObject* object) const override;
    CGraphBlock* FirstEditableElement() const;
    int TypeFromTag(const char* tag) const override;

    // Moves every object of a generated network, wire points within their 16-bit halves.
    static void TranslateNetwork(CPlcLDNetwork* model, int dx, int dy);
    void RebuildIndex(CGraphNetworkIntf* network);
    bool IsIndexed(const CGraphNetworkIntf* network, const CGraphObject* object) const;

    // Operators, contacts and single coils are bridged, other elements removed.
    void DeleteSelection() override;

protected:
    CGraphBlock* NewElement(int type) const override;
    bool MatchesByNumberAndPin(int type) const override;
    const char* SourceName() const override { return "LDManager"; }

private:
    // The wire at the input takes over the end of the wire at the output; the element goes.
    void Bridge(CGraphNetworkIntf* network, CGraphBlock* element, CGraphPin* in, CGraphPin* out);
    void RemoveWithWires(CGraphNetworkIntf* network, CGraphBlock* element);
    // A comment that covers an element moves below every element; the network grows to hold it.
    void PlaceComments(CGraphNetworkIntf* network);

    std::map<const CGraphNetworkIntf*, std::unique_ptr<CLDRowList>> m_RowLists;
    std::map<const CGraphNetworkIntf*, std::vector<CGraphObject*>> m_Index;
};
