// The source document and its views: title mark, read-only switch with hint 30, line ends kept on
// save, views made by runtime class with or without a document, the IL view's colours.
#include "TextViewFixture.h"

#include <TvskLumoPlc/textview/ILView.h>

#include <QWheelEvent>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace
{

class HintView : public CView
{
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM hint, CObject* object) override
    {
        if (hint == HINT_READONLY_CHANGED)
            flags.push_back(*reinterpret_cast<BYTE*>(object));
    }
    std::vector<int> flags;
};

// A frame that counts its layouts, holding a view in a pane between them.
class CountingFrame : public CWnd, public CLayoutFrame
{
public:
    void RecalcLayout() override { ++layouts; }
    int layouts = 0;
};

class ListView : public CView, public CListQueryView
{
public:
    void OnDraw(CDC*) override {}
    void GetStringList(CStringArray& list) override
    {
        list.Add("T1");
        list.Add("C2");
    }
    CString GetListString(int first, int second) override
    {
        CString text;
        text.Format("%d/%d", first, second);
        return text;
    }
};

class SourceDocument : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("srcdoc-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        ASSERT_TRUE(
            m_host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        fs::remove_all(m_dir);
    }
    std::string Write(const char* name, const std::string& bytes, mode_t mode = 0644)
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        ::chmod(path.c_str(), mode);
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    fs::path m_dir;
    CWnd m_host;
};

TEST_F(SourceDocument, TheTitleCarriesAStarWhileModified)
{
    CSourceDocument document;
    document.m_bAutoDelete = FALSE;
    document.OnNewDocument();
    document.SetTitle("Prog");
    EXPECT_EQ(document.GetTextBuffer().GetCRLFMode(), CRLF_STYLE_MAC);
    int endLine = 0;
    int endChar = 0;
    document.GetTextBuffer().InsertAt(nullptr, 0, 0, "LD 1.0", endLine, endChar, CE_ACTION_TYPING);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.GetTitle(), "Prog*");
    CPoint caret;
    document.GetTextBuffer().StepBack(caret);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.GetTitle(), "Prog");
}

TEST_F(SourceDocument, ADosFileSavesBackWithItsLineEnds)
{
    const std::string path = Write("prog.il", "LD 1.0\r\nOUT 2.0\r\n");
    CSourceDocument document;
    document.m_bAutoDelete = FALSE;
    ASSERT_TRUE(document.OnOpenDocument(path.c_str()));
    EXPECT_EQ(document.GetTitle(), "prog.il");
    EXPECT_FALSE(document.IsReadOnly());
    int endLine = 0;
    int endChar = 0;
    document.GetTextBuffer().InsertAt(nullptr, 1, 0, "\t", endLine, endChar, CE_ACTION_TYPING);
    ASSERT_TRUE(document.OnSaveDocument(path.c_str()));
    EXPECT_EQ(Read(path), "LD 1.0\r\n\tOUT 2.0\r\n");
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(document.OnSaveDocument(m_dir.string().c_str()));
    EXPECT_FALSE(document.OnOpenDocument((m_dir / "missing.il").c_str()));
    EXPECT_EQ(document.GetTextBuffer().GetLine(1), "\tOUT 2.0"); // a failed open keeps the text
}

TEST_F(SourceDocument, AViewOfAFreedTextShowsNothingAndRefusesEdits)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CILView);
    auto* view = dynamic_cast<CILView*>(AfxCreateView(&context, &m_host, CRect(0, 0, 200, 100), 8));
    ASSERT_NE(view, nullptr);
    view->GetDocument()->GetTextBuffer().LoadString("LD 1.0");
    view->SetCursorPos(CPoint(3, 0));
    view->GetDocument()->DeleteContents();
    EXPECT_FALSE(view->HasText());
    view->OnEditChar('x');
    view->SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    EXPECT_FALSE(view->GetWidget()->grab().isNull());
    EXPECT_EQ(view->GetCursorPos(), CPoint(0, 0));
}

TEST_F(SourceDocument, ReadOnlySwitchSendsHint30AndTheBufferFollows)
{
    CSourceDocument document;
    document.m_bAutoDelete = FALSE;
    document.OnNewDocument();
    HintView view;
    CCreateContext context;
    context.m_pCurrentDoc = &document;
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &m_host, 1, &context));
    document.SetForcedReadOnly(TRUE);
    document.SetReadOnly(FALSE);
    EXPECT_EQ(view.flags, (std::vector<int>{1, 1}));
    EXPECT_TRUE(document.GetTextBuffer().GetReadOnly());
    document.SetForcedReadOnly(FALSE);
    EXPECT_FALSE(document.GetTextBuffer().GetReadOnly());
    EXPECT_EQ(view.flags.back(), 0);
    view.DestroyWindow();
}

TEST_F(SourceDocument, AFileOpenedReadOnlyStaysReadOnly)
{
    const std::string path = Write("locked.il", "LD 1.0\n", 0444);
    CSourceDocument document;
    document.m_bAutoDelete = FALSE;
    ASSERT_TRUE(document.OnOpenDocument(path.c_str()));
    EXPECT_TRUE(document.IsReadOnly());
    document.SetReadOnly(FALSE);
    EXPECT_TRUE(document.IsReadOnly());
    EXPECT_TRUE(document.GetTextBuffer().GetReadOnly());
}

TEST_F(SourceDocument, APathIsCutBeforeItsFirstPointWhenAsked)
{
    CDocumentRO document;
    document.m_bAutoDelete = FALSE;
    document.SetPathName("/tmp/prog.il");
    EXPECT_EQ(document.GetPathName(TRUE), "/tmp/prog");
    EXPECT_EQ(document.GetPathName(FALSE), "/tmp/prog.il");
    document.SetTitle("prog");
    document.SetModifiedFlag(TRUE);
    EXPECT_EQ(document.GetTitle(), "prog *");
    document.SetModifiedFlag(FALSE);
    EXPECT_EQ(document.GetTitle(), "prog");
}

TEST_F(SourceDocument, ASourceViewWithoutDocumentMakesItsOwn)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CILView);
    CView* made = AfxCreateView(&context, &m_host, CRect(0, 0, 380, 280), 5);
    ASSERT_NE(made, nullptr);
    auto* view = dynamic_cast<CILView*>(made);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->GetDocument(), nullptr);
    EXPECT_EQ(view->LocateTextBuffer(), &view->GetDocument()->GetTextBuffer());
    EXPECT_EQ(view->GetTabSize(), 4);
    view->GetDocument()->GetTextBuffer().LoadString("LD 1.0\nEND");
    view->OnEditChar('x');
    EXPECT_EQ(view->GetDocument()->GetTextBuffer().GetLine(0), "xLD 1.0");
    LOGFONT font;
    view->GetFont(font);
    EXPECT_EQ(std::string(font.lfFaceName), "Courier");
}

TEST_F(SourceDocument, TheWheelScrollsByTheSystemLineCount)
{
    CSourceDocument* document = new CSourceDocument;
    document->OnNewDocument();
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "LD 1.0\n";
    document->GetTextBuffer().LoadString(text);
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CSourceView);
    context.m_pCurrentDoc = document;
    auto* view = dynamic_cast<CSourceView*>(AfxCreateView(&context, &m_host, CRect(0, 0, 380, 280), 6));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), document);
    const int lines = static_cast<int>(view->GetWheelLines());
    view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(view->GetTopLine(), lines);
    view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(2 * WHEEL_DELTA)), 0);
    EXPECT_EQ(view->GetTopLine(), 0);
}

} // namespace

TEST_F(SourceDocument, FramesAndListQueriesGoToTheFirstViewThatAnswers)
{
    CDocumentRO document;
    document.m_bAutoDelete = FALSE;
    CStringArray list;
    list.Add("stale");
    document.GetStringList(list);
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(document.GetListString(1, 2), "");
    document.RecalcFrames();

    CountingFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_CHILD, CRect(0, 0, 300, 200), &m_host, 1));
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_CHILD, CRect(0, 0, 300, 200), &frame, 2));
    ListView view;
    ASSERT_TRUE(view.Create(nullptr, "view", WS_CHILD, CRect(0, 0, 300, 200), &pane, 3, nullptr));
    document.AddView(&view);
    document.RecalcFrames();
    EXPECT_EQ(frame.layouts, 1);
    document.GetStringList(list);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list[1], "C2");
    EXPECT_EQ(document.GetListString(4, 7), "4/7");
    document.RemoveView(&view);
    view.DestroyWindow();
}
