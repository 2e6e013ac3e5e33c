// The ladder editor window: the graph view over a ladder document, with aligned right rails and
// the live animation of the running program.
#pragma once

#include "AnimateChart.h"
#include "GraphView.h"
#include "LDOperandDialogs.h"

#include <atomic>
#include <memory>

class CLDView;
class CPlcProjectInfo;
class CPluginIntf;
class QObject;

// What prints the view's networks with the project's title block (the editor's ladder printer).
class CLDViewPrinter
{
public:
    virtual ~CLDViewPrinter() = default;
    // False when cancelled or nothing could be printed.
    virtual bool PrintView(CLDView* view, const CPlcProjectInfo* info, CWnd* owner, bool preview) = 0;
};

constexpr UINT WM_LDVIEW_MODIFIED = 1037;
// To the main window when the view goes; lParam the view.
constexpr UINT WM_LDVIEW_DESTROYED = 1060;

class CLDView : public CGraphView, public CAnimationView
{
    DECLARE_DYNCREATE(CLDView)

public:
    static constexpr int MinRightRailColumn = 40;

    CLDView();
    ~CLDView() override;

    CLDDoc* GetLDDoc() const { return dynamic_cast<CLDDoc*>(m_pDocument); }
    CLDManager* GetLDManager() const { return dynamic_cast<CLDManager*>(m_pManager); }
    void SetHostIntf(CPluginIntf* host) { m_pHost.store(host); }
    // Not owned; without them only comments are edited.
    void SetOperandDialogs(CLDOperandDialogs* dialogs) noexcept { m_pOperandDialogs = dialogs; }

    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    // Left rail at column 0, right rail at the common column (width < 0: the client width).
    void PlaceRightRail(CNetworkWnd* network, int width);
    // Every right rail at the largest of the right-rail column, the used width and the minimum.
    void AlignRightRails();
    void SetAutoConnect(bool on);
    bool IsAutoConnect() const noexcept { return m_bAutoConnect != 0; }
    bool IsLayoutPending() const noexcept { return m_bLayoutPending != 0; }
    int GetNetworkIndex() const;
    void SelectNetwork(int index);

    // Printing through the printer the owner gives, with the project information for the title.
    void SetPrinter(CLDViewPrinter* printer) noexcept { m_pPrinter = printer; }
    void SetPrintInfo(const CPlcProjectInfo* info) noexcept { m_pPrintInfo = info; }
    bool FilePrint();
    bool FilePrintPreview();
    // After a rebuild or a change of the current network: the stack, the rails and the scroll
    // sizes laid out again.
    void UpdateLayout();

    // Live animation: on collects every contact and starts the worker; off stops it and shows
    // every element inactive.
    void EnableAnimation(bool on);
    bool IsAnimated() const noexcept { return m_bAnimated != 0; }
    LRESULT OnAnimationUpdate();
    // Walks the rung from the model object, setting power and conduction in the map.
    void EvaluatePowerFlow(int entry, CAnimationMap& map);
    CAnimateChart& GetChart() noexcept { return m_Chart; }
    void NewComment(CPoint cell);
    // Double click on a single selected element: the FIN, parameter or bit dialog, or the comment
    // editor. A changed text goes into the element and the owner hears the document is modified.
    // Nothing while animated.
    void EditOperand();
    // The element becomes the only selection and is scrolled into view.
    void SelectElement(CGraphBlock* element);

    CWnd* GetAnimationWnd() override { return this; }
    CPluginIntf* GetAnimationHost() const override { return m_pHost.load(); }
    bool IsAnimationShown() const override { return m_bShown.load(); }
    void SetShownFlag(bool shown) { m_bShown.store(shown); }

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void EndDrag(CNetworkWnd* network, CPoint screen) override;
    void OnNetworkDblClk(CNetworkWnd* network, CPoint screen) override;
    // Delete is the owner's command, which takes the element out of the program as well.
    void OnNetworkKeyDown(CNetworkWnd* network, UINT key) override;
    // The placing modes put a new comment at the cell.
    void PlaceAt(CNetworkWnd* network, CPoint cell) override;
    // Enter on a function or variable: its operand dialog; a constant is edited in place.
    void EditElement(CGraphBlock* element) override;
    // A net is deleted by the owner's command, which takes it out of the program too.
    bool CanDeleteNetwork(CNetworkWnd*) override { return false; }
    // Delete and new comment, the owner's commands; nothing while animated.
    void ShowContextMenu(CNetworkWnd* network, CGraphBlock* element, CPoint screen) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RebuildLadder(CPlcFBDCode* code);
    CString HostString(UINT id, const char* fallback) const;
    // The operand text of the element after its dialog; false on Cancel or without a dialog.
    bool AskOperand(CGraphObject* object, CString& text);
    void StoreEdit(CGraphBlock* element, const CString& text);

    std::atomic<CPluginIntf*> m_pHost{nullptr};
    CLDOperandDialogs* m_pOperandDialogs = nullptr;
    CLDViewPrinter* m_pPrinter = nullptr;          // not owned
    const CPlcProjectInfo* m_pPrintInfo = nullptr; // not owned
    BYTE m_bAnimated = 0;
    BYTE m_bAutoConnect = 1;
    BYTE m_bLayoutPending = 1;
    int m_nMinColumn = MinRightRailColumn;
    CAnimateChart m_Chart;
    std::atomic<bool> m_bShown{false};
    std::unique_ptr<QObject> m_pShowWatch;
};
