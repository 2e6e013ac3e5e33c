// Documents and views: views made by runtime class inside a dialog, hints, removal and auto-deletion.
#include <ui/Ui.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{

struct Hint
{
    CView* sender;
    LPARAM hint;
    CObject* object;
};

class NoteDocument : public CDocument
{
    DECLARE_DYNCREATE(NoteDocument)

public:
    ~NoteDocument() override { ++s_deleted; }
    static int s_deleted;
};
IMPLEMENT_DYNCREATE(NoteDocument, CDocument)
int NoteDocument::s_deleted = 0;

class NoteView : public CView
{
    DECLARE_DYNCREATE(NoteView)

public:
    void OnUpdate(CView* sender, LPARAM hint, CObject* object) override
    {
        hints.push_back({sender, hint, object});
    }
    void OnDraw(CDC*) override {}
    std::vector<Hint> hints;
};
IMPLEMENT_DYNCREATE(NoteView, CView)

class HostWnd : public CWnd
{
};

TEST(DocView, AViewMadeByRuntimeClassJoinsItsDocumentAndGetsTheInitialUpdate)
{
    HostWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    auto* document = new NoteDocument;
    document->m_bAutoDelete = FALSE;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(NoteView);
    context.m_pCurrentDoc = document;
    CView* view = AfxCreateView(&context, &host, CRect(0, 0, 100, 100), 100);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(NoteView)));
    EXPECT_EQ(view->GetDocument(), document);
    EXPECT_EQ(host.GetDlgItem(100), view);
    auto* note = static_cast<NoteView*>(view);
    ASSERT_EQ(note->hints.size(), 1u);
    EXPECT_EQ(note->hints[0].hint, 0);
    view->DestroyWindow(); // deletes the view, which leaves the document
    EXPECT_TRUE(document->GetViews().empty());
    delete document;
}

TEST(DocView, HintsReachEveryViewButTheSender)
{
    HostWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    NoteDocument document;
    document.m_bAutoDelete = FALSE;
    NoteView first;
    NoteView second;
    CCreateContext context;
    context.m_pCurrentDoc = &document;
    ASSERT_TRUE(first.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 1, &context));
    ASSERT_TRUE(second.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 2, &context));
    BYTE flag = 1;
    document.UpdateAllViews(&first, 30, reinterpret_cast<CObject*>(&flag));
    EXPECT_TRUE(first.hints.empty());
    ASSERT_EQ(second.hints.size(), 1u);
    EXPECT_EQ(second.hints[0].sender, &first);
    EXPECT_EQ(second.hints[0].hint, 30);
    EXPECT_EQ(second.hints[0].object, reinterpret_cast<CObject*>(&flag));
    document.RemoveView(&second);
    document.UpdateAllViews(nullptr, 22);
    EXPECT_EQ(first.hints.size(), 1u);
    EXPECT_EQ(second.hints.size(), 1u);
    EXPECT_EQ(second.GetDocument(), nullptr);
}

TEST(DocView, AnAutomaticDocumentGoesWithItsLastView)
{
    HostWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    const int before = NoteDocument::s_deleted;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(NoteView);
    context.m_pCurrentDoc = new NoteDocument;
    CView* view = AfxCreateView(&context, &host, CRect(0, 0, 100, 100), 7);
    ASSERT_NE(view, nullptr);
    host.DestroyWindow();
    EXPECT_EQ(NoteDocument::s_deleted, before + 1);
}

TEST(DocView, NoViewIsMadeFromAClassThatIsNoView)
{
    HostWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(NoteDocument);
    EXPECT_EQ(AfxCreateView(&context, &host, CRect(0, 0, 10, 10), 1), nullptr);
    context.m_pNewViewClass = nullptr;
    EXPECT_EQ(AfxCreateView(&context, &host, CRect(0, 0, 10, 10), 1), nullptr);
}

TEST(DocView, DocumentTitleFromThePathAndNewDocumentClearsModified)
{
    NoteDocument document;
    document.m_bAutoDelete = FALSE;
    document.SetPathName("/tmp/x/Prog.il");
    EXPECT_EQ(document.GetTitle(), "Prog.il");
    document.SetModifiedFlag();
    EXPECT_TRUE(document.OnNewDocument());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.GetPathName(), "");
}

class PictureView : public CScrollView
{
public:
    void OnDraw(CDC* dc) override { origins.push_back(dc->GetViewportOrg()); }
    std::vector<CPoint> origins;
};

TEST(ScrollView, ScrollBarsFollowTheContentsAndMoveTheOrigin)
{
    HostWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
    PictureView view;
    ASSERT_TRUE(
        view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &host, 1, nullptr));
    view.SetScrollSizes(MM_TEXT, CSize(1000, 50), CSize(0, 0), CSize(10, 10));
    CRect client;
    view.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 200);
    EXPECT_LT(client.Height(), 100); // the horizontal bar takes its strip
    view.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(view.GetDeviceScrollPosition(), CPoint(10, 0));
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 10);
    view.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(view.GetDeviceScrollPosition().x, 800);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    view.OnPrepareDC(&dc);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(-800, 0));
}

} // namespace
