// A network window and a view that record what the diagram model asks of them.
#pragma once

#include <TvskLumoPlc/graph/GraphManager.h>

#include <vector>

class CFakeNetwork : public CGraphNetworkIntf
{
public:
    bool Create(CWnd*, UINT childId, int width, int height, bool, bool) override
    {
        m_nChildId = childId;
        m_nWidth = width;
        m_nHeight = height;
        return !m_bFailCreate;
    }
    int GetNumber() const override { return m_nNumber; }
    void SetNumber(int number) override { m_nNumber = number; }
    CString GetComment() const override { return m_strComment; }
    void SetComment(const char* comment) override { m_strComment = comment; }
    int GetGridWidth() const override { return m_nWidth; }
    int GetGridHeight() const override { return m_nHeight; }
    void SetGridHeight(int rows) override { m_nHeight = rows; }
    bool GetMark() const override { return m_bMark; }
    void SetMark(bool mark) override { m_bMark = mark; }
    void SetFocusRect(bool shown) override { m_bFocus = shown; }
    void InvalidateRect(const CRect& rect) override { m_Invalid.push_back(rect); }
    void OnElementPlaced(CGraphBlock*) override { ++m_nPlaced; }
    void OnElementRemoved(CGraphBlock*) override { ++m_nRemoved; }
    void BuildAnimationMap(CPlcLDNetwork* network) override { m_pAnimated = network; }

    UINT m_nChildId = 0;
    int m_nNumber = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CString m_strComment;
    bool m_bMark = true;
    bool m_bFocus = false;
    bool m_bFailCreate = false;
    int m_nPlaced = 0;
    int m_nRemoved = 0;
    std::vector<CRect> m_Invalid;
    CPlcLDNetwork* m_pAnimated = nullptr;
};

// Numbers the networks by position when told of a placement, as the view does.
class CFakeOwner : public CGraphOwnerIntf
{
public:
    explicit CFakeOwner(CGraphManager& manager) : m_manager(manager) { manager.SetOwner(this); }

    CGraphNetworkIntf* NewNetworkWindow() override { return new CFakeNetwork; }
    void OnNetworkPlaced(CGraphNetworkIntf*, int) override
    {
        for (int i = 0; i < m_manager.GetNetworkCount(); ++i)
            m_manager.GetNetwork(i)->SetNumber(i + 1);
    }
    void OnNetworkChanged(CGraphNetworkIntf*) override { ++m_nChanged; }
    void OnObjectDeleted(CGraphObject* object) override { m_Deleted.push_back(object); }
    bool CheckConstant(CGraphConst*, const char* value) override { return CString(value) != m_strRefused; }

    CGraphManager& m_manager;
    int m_nChanged = 0;
    std::vector<CGraphObject*> m_Deleted;
    CString m_strRefused = "bad";
};

// A parent window the fakes never touch.
inline CWnd* FakeParent()
{
    static int parent;
    return reinterpret_cast<CWnd*>(&parent);
}
