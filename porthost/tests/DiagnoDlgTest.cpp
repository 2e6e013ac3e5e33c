// The diagnostics window: client list, counts, scrolling the hex view, reset and detach.
#include <DiagnoDlg.h>
#include <ServerDlg.h>

#include <kernel/Process.h>
#include <ui/MessageBox.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <testing/DialogFit.h>
#include <testing/TestApplication.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace
{
// This program's application object, which main makes.
const tvsk::test::TestApplication g_app("PortHostTests");
} // namespace

namespace
{
class FakeServer : public CDiagnoServer
{
public:
    CPortSpy& Spy() noexcept override { return spy; }
    int ClientCount() const noexcept override { return static_cast<int>(clients.GetSize()); }
    CDWordArray Clients() const override { return clients; }
    BOOL DetachClient(DWORD processId) override
    {
        detached.push_back(processId);
        if (refused.count(processId))
            return FALSE;
        for (INT_PTR i = 0; i < clients.GetSize(); ++i)
            if (clients[i] == processId)
            {
                clients.RemoveAt(i);
                return TRUE;
            }
        return FALSE;
    }
    void EndWithoutClients() override { ++endsWithoutClients; }

    CPortSpy spy;
    int endsWithoutClients = 0;
    CDWordArray clients;
    std::set<DWORD> refused;
    std::vector<DWORD> detached;
};

class AnsweringSink : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT type) override
    {
        texts.push_back(text);
        types.push_back(type);
        return answer;
    }
    int answer = IDYES;
    std::vector<CString> texts;
    std::vector<UINT> types;
};

// A process of its own to be listed, detached and ended.
struct Sleeper
{
    Sleeper()
    {
        EXPECT_TRUE(CreateProcess("/bin/sleep", "sleep 60", nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  nullptr, &info));
    }
    ~Sleeper()
    {
        HANDLE self = OpenProcess(SYNCHRONIZE, FALSE, info.dwProcessId);
        if (self && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(self, 1);
        if (self)
            CloseHandle(self);
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
    }
    bool Ended(DWORD ms = 5000) const { return WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0; }
    PROCESS_INFORMATION info;
};

class DiagnoDlgTest : public ::testing::Test
{
protected:
    void SetUp() override { previous = AfxSetMessageBoxSink(&sink); }
    void TearDown() override
    {
        if (dialog.GetSafeHwnd())
            dialog.DestroyWindow();
        AfxSetMessageBoxSink(previous);
    }
    void Open() { ASSERT_TRUE(dialog.CreateIndirect(AfxFindDialogTemplate("SERVER_DIAGNO"))); }
    void Click(UINT id) { dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Scroll(WORD code, WORD thumb = 0) { dialog.SendMessage(WM_VSCROLL, MAKEWPARAM(code, thumb), 0); }
    CListBox& List() { return *static_cast<CListBox*>(dialog.GetDlgItem(IDC_DIAGNO_PIDS)); }
    QImage HexView() { return const_cast<CComDBuff&>(dialog.GetView()).GetWidget()->grab().toImage(); }
    static int Pixels(const QImage& image, COLORREF colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += FromQColor(image.pixelColor(x, y)) == colour;
        return n;
    }
    void Record(int count, BYTE first, SPY_TAG tag)
    {
        std::vector<BYTE> bytes(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            bytes[static_cast<size_t>(i)] = static_cast<BYTE>(first + i);
        server.spy.Record(static_cast<DWORD>(count), bytes.data(), tag);
    }

    FakeServer server;
    AnsweringSink sink;
    CMessageBoxSink* previous = nullptr;
    CDiagnoDlg dialog{"Modem Server Diagnostics", server};
};

TEST_F(DiagnoDlgTest, OpeningListsTheClientsInHexAndShowsTheSpySwitchAndCounts)
{
    server.clients.Add(0x1A2B);
    server.clients.Add(77);
    server.spy.SetOn(true);
    Record(5, 1, SPY_SENT);
    Record(3, 1, SPY_RECEIVED);
    Open();
    EXPECT_EQ(dialog.GetWindowText(), CString("Modem Server Diagnostics"));
    ASSERT_EQ(List().GetCount(), 2);
    CString text;
    List().GetText(0, text);
    EXPECT_EQ(text, CString("1A2B"));
    EXPECT_EQ(List().GetItemData(1), 77u);
    EXPECT_EQ(static_cast<CButton*>(dialog.GetDlgItem(IDC_DIAGNO_SPY))->GetCheck(), BST_CHECKED);
    EXPECT_EQ(dialog.GetScrollPosition(), 64);

    Record(10, 1, SPY_SENT);
    QElapsedTimer timer;
    timer.start();
    while (dialog.GetDlgItem(IDC_DIAGNO_TX)->GetWindowText() != "15" && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(dialog.GetDlgItem(IDC_DIAGNO_TX)->GetWindowText(), CString("15"));
    EXPECT_EQ(dialog.GetDlgItem(IDC_DIAGNO_RX)->GetWindowText(), CString("3"));
}

TEST_F(DiagnoDlgTest, TheSpySwitchTurnsRecordingOnAndOff)
{
    Open();
    Record(4, 1, SPY_SENT);
    EXPECT_EQ(server.spy.SentCount(), 0u);
    static_cast<CButton*>(dialog.GetDlgItem(IDC_DIAGNO_SPY))->SetCheck(BST_CHECKED);
    Click(IDC_DIAGNO_SPY);
    Record(4, 1, SPY_SENT);
    EXPECT_EQ(server.spy.SentCount(), 4u);
}

TEST_F(DiagnoDlgTest, ScrollingStaysWithinOneTo64AndMovesTheView)
{
    server.spy.SetOn(true);
    Record(40, 1, SPY_RECEIVED);
    Open();
    EXPECT_GT(Pixels(HexView(), CComDBuff::ReceivedColour), 0);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(dialog.GetScrollPosition(), 64);
    Scroll(SB_LINEUP);
    EXPECT_EQ(dialog.GetScrollPosition(), 63);
    Scroll(SB_PAGEUP);
    EXPECT_EQ(dialog.GetScrollPosition(), 57);
    EXPECT_EQ(Pixels(HexView(), CComDBuff::ReceivedColour), 0); // past the oldest byte: cleared bytes only
    Scroll(SB_THUMBTRACK, 62);
    EXPECT_EQ(dialog.GetScrollPosition(), 62);
    Scroll(SB_PAGEUP);
    for (int i = 0; i < 12; ++i)
        Scroll(SB_PAGEUP);
    EXPECT_EQ(dialog.GetScrollPosition(), 1);
    Scroll(SB_THUMBTRACK, 200);
    EXPECT_EQ(dialog.GetScrollPosition(), 64);
}

TEST_F(DiagnoDlgTest, ResetShowsZerosInGrey)
{
    server.spy.SetOn(true);
    Record(100, 0xA0, SPY_SENT);
    Open();
    Scroll(SB_LINEUP);
    EXPECT_GT(Pixels(HexView(), CComDBuff::SentColour), 0);
    Click(IDC_DIAGNO_RESET);
    EXPECT_EQ(dialog.GetScrollPosition(), 64);
    EXPECT_EQ(server.spy.SentCount(), 0u);
    const QImage view = HexView();
    EXPECT_EQ(Pixels(view, CComDBuff::SentColour), 0);
    EXPECT_GT(Pixels(view, CComDBuff::EmptyColour), 0);
}

TEST_F(DiagnoDlgTest, DetachEndsTheDetachedClientsAndKeepsARefusedOneUnselected)
{
    Sleeper first;
    Sleeper second;
    Sleeper third;
    for (const Sleeper* s : {&first, &second, &third})
        server.clients.Add(s->info.dwProcessId);
    server.refused.insert(third.info.dwProcessId);
    Open();
    List().SetSel(0);
    List().SetSel(2);
    Click(IDC_DIAGNO_DETACH);

    ASSERT_EQ(sink.texts.size(), 2u);
    EXPECT_EQ(sink.texts[0], CString("This operation will close the process.\nDo you want to continue ?"));
    EXPECT_EQ(sink.types[0], MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(sink.texts[1], CString("Process detached"));
    EXPECT_EQ(server.detached, (std::vector<DWORD>{first.info.dwProcessId, third.info.dwProcessId}));
    EXPECT_TRUE(first.Ended());
    EXPECT_FALSE(second.Ended(100));
    EXPECT_FALSE(third.Ended(100));
    ASSERT_EQ(List().GetCount(), 2);
    EXPECT_EQ(List().GetItemData(1), third.info.dwProcessId);
    EXPECT_EQ(List().GetSelCount(), 0);
}

TEST_F(DiagnoDlgTest, DetachAnsweredNoOrWithoutSelectionDoesNothing)
{
    Sleeper client;
    server.clients.Add(client.info.dwProcessId);
    Open();
    Click(IDC_DIAGNO_DETACH);
    EXPECT_TRUE(sink.texts.empty());
    sink.answer = IDNO;
    List().SetSel(0);
    Click(IDC_DIAGNO_DETACH);
    EXPECT_EQ(sink.texts.size(), 1u);
    EXPECT_TRUE(server.detached.empty());
    EXPECT_FALSE(client.Ended(100));
}

TEST_F(DiagnoDlgTest, AClientThatEndedAfterListingIsDetachedWithoutEndingAnythingElse)
{
    auto* early = new Sleeper;
    const DWORD id = early->info.dwProcessId;
    server.clients.Add(id);
    Open();
    delete early; // ended and reaped: its identifier may now belong to another process
    List().SetSel(0);
    Click(IDC_DIAGNO_DETACH);
    EXPECT_EQ(server.detached, std::vector<DWORD>{id});
    EXPECT_EQ(List().GetCount(), 0);
}

TEST_F(DiagnoDlgTest, DetachWithAnEmptyListClosesTheWindow)
{
    Open();
    Click(IDC_DIAGNO_DETACH);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], CString("No processes, exit server"));
    EXPECT_EQ(server.endsWithoutClients, 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog.IsWindowVisible());
}
} // namespace

TEST(ServerDialogTemplates, ShowTheirTextsWholeAtTheDesktopFonts)
{
    CPortServer server;
    const CServerDlg serverWindow(1, server); // its template registers with its code
    for (const char* name : {"SERVER_DIAGNO", "PORTHAVEN_SERVER"})
    {
        const DialogTemplate* found = AfxFindDialogTemplate(name);
        ASSERT_NE(found, nullptr) << name;
        for (const int points : tvsk::testing::kDesktopFontPoints)
        {
            const tvsk::testing::ScopedDesktopFont font(points);
            EXPECT_EQ(tvsk::testing::TemplateFitProblems(*found), std::vector<std::string>{})
                << name << " at " << points << " pt";
        }
    }
}
