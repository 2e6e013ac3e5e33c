#include "EventRecorder.h"

#include <graphctl/ZoGraphCtl41.h>

#include <ui/Dialog.h>

#include <testing/WaitUntil.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace tvsk::com;

namespace
{

constexpr UINT kGraphId = 1000;

const DlgItem kHostItems[] = {{DlgKind::PushButton, IDOK, 4, 4, 40, 14, "OK"}};
const DialogTemplate kHostTemplate{"Host", WS_CAPTION, 300, 200, kHostItems, 1};

const DlgItem kMissingItems[] = {
    {DlgKind::Control, kGraphId, 0, 0, 200, 100, nullptr, 0, "{00000000-1111-2222-3333-444444444444}"}};
const DialogTemplate kMissingTemplate{"Missing", WS_CAPTION, 300, 200, kMissingItems, 1};

const DlgItem kTemplateItems[] = {
    {DlgKind::Control, kGraphId, 0, 0, 200, 100, nullptr, 0, "{185F51C9-95ED-4D4A-90DC-5B691B37EC71}"}};
const DialogTemplate kGraphTemplate{"Graph", WS_CAPTION, 300, 200, kTemplateItems, 1};

// A dialog that makes the graph in OnInitDialog, as the oscilloscope does.
class HostDialog : public CDialog
{
public:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (!m_graph.Create(nullptr, WS_VISIBLE, CRect(0, 30, 400, 330), this, kGraphId))
        {
            EndDialog(-1);
            return FALSE;
        }
        m_graph.AddTrack("Speed");
        m_graph.AddTrack("Current");
        sink = ComPtr<EventRecorder>(new EventRecorder);
        advised = AfxConnectionAdvise(m_graph.GetControlUnknown(), DIID__IZoGraphCtl4Events,
                                      static_cast<IDispatch*>(sink.Get()), FALSE, &cookie);
        return TRUE;
    }
    void OnDestroy() override
    {
        if (advised)
            AfxConnectionUnadvise(m_graph.GetControlUnknown(), DIID__IZoGraphCtl4Events,
                                  static_cast<IDispatch*>(sink.Get()), FALSE, cookie);
        CDialog::OnDestroy();
    }

    CZoGraphCtl41 m_graph;
    ComPtr<EventRecorder> sink;
    BOOL advised = FALSE;
    DWORD cookie = 0;
};

class HostingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* store = std::getenv("TARVESKON_REGISTRY");
        m_store = store ? store : "";
        ::setenv("TARVESKON_REGISTRY", TVSK_REGISTERED_STORE, 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        CoUninitialize();
        ::setenv("TARVESKON_REGISTRY", m_store.c_str(), 1);
    }
    std::string m_store;
};

} // namespace

TEST_F(HostingTest, DialogHostsTheControlByClassIdAndCallsItByDispatchId)
{
    HostDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&kHostTemplate));
    CZoGraphCtl41& graph = dialog.m_graph;
    EXPECT_EQ(dialog.GetDlgItem(kGraphId), &graph);
    EXPECT_EQ(graph.GetTracksNo(), 2);
    EXPECT_EQ(graph.GetLong(DISPID_ZG_GraphHDim), 400 - 60);
    ComPtr<ITrack4> track = ComPtr<ITrack4>::Adopt(graph.GetTrack(1));
    ASSERT_TRUE(track);
    BSTR name = nullptr;
    track->get_Name(&name);
    EXPECT_EQ(Utf8FromBstr(name), "Current");
    SysFreeString(name);

    ASSERT_TRUE(dialog.advised);
    graph.SetFeature(2, MakeVariantI4(1));
    ASSERT_EQ(dialog.sink->Of(DISPID_ZG_TimeRefChange).size(), 1u);

    // The control's window follows its site.
    graph.MoveWindow(0, 30, 500, 330);
    EXPECT_EQ(graph.GetLong(DISPID_ZG_GraphHDim), 500 - 60);
    dialog.DestroyWindow();
}

TEST_F(HostingTest, UnregisteredClassFailsTheDialog)
{
    CDialog dialog;
    AfxRegisterDialogTemplate("GraphHostMissing", &kMissingTemplate);
    CDialog missing("GraphHostMissing");
    EXPECT_EQ(missing.DoModal(), -1);
    CZoGraphCtl41 orphan;
    EXPECT_FALSE(orphan.CreateControl(MakeGuid("00000000-1111-2222-3333-444444444444"), nullptr, WS_VISIBLE,
                                      CRect(0, 0, 10, 10), &dialog, 5));
    EXPECT_EQ(orphan.GetSafeHwnd(), nullptr);
}

TEST_F(HostingTest, TemplateItemMakesTheControl)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&kGraphTemplate));
    CWnd* site = dialog.GetDlgItem(kGraphId);
    ASSERT_NE(site, nullptr);
    ComPtr<IZoGraphCtl4> control = ComPtr<IUnknown>(site->GetControlUnknown()).As<IZoGraphCtl4>();
    ASSERT_TRUE(control);
    LONG width = 0;
    control->get_GraphHDim(&width);
    CRect rect;
    site->GetClientRect(&rect);
    EXPECT_EQ(width, rect.Width() - 60);
    dialog.DestroyWindow();
}
