// The PLC editor opened from the main program's start page on the TK20 sample, against drivesim
// through the whole drive chain: write, read back, compare, animate, print and the instruction list.
#include <TvskLumoPlc/graph/GraphManager.h>
#include <TvskLumoPlc/graphview/LDView.h>
#include <TvskLumoPlc/shell/DlgBitSelect.h>
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/DlgLumoPlcIL.h>
#include <TvskLumoPlc/shell/PlcIds.h>
#include <TvskLumoPlc/textview/ILView.h>
#include <TvskLumoPlc/textview/SourceDocument.h>

#include <Tarveskon/TarveskonDlg.h>
#include <Tarveskon/TvskHtmlEvent.h>
#include <Tarveskon/TvskMessages.h>
#include <Tarveskon/TvskStrings.h>
#include <Tarveskon/tests/ManagerTestSupport.h>
#include <Tarveskon/tests/PageComponents.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/PlcFBDObject.h>
#include <protocol/tests/DriveChain.h>
#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/App.h>
#include <ui/FileDialog.h>
#include <ui/MessageBox.h>
#include <ui/Print.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QToolButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace
{

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

using tvsk::testing::ProgramFolder;
using Program = std::vector<std::pair<std::string, std::vector<int>>>;

constexpr int kPlcBase = 0x4000;

class OneFileBox : public CFileDialogSink
{
public:
    INT_PTR Show(CFileDialog& dialog) override
    {
        dialog.SetResult(path.c_str(), 1);
        return IDOK;
    }
    std::string path;
};

class RecordedBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT type) override
    {
        texts.push_back(text.str());
        if (whenShown)
            whenShown();
        return DefaultMessageBoxAnswer(type);
    }
    std::vector<std::string> texts;
    std::function<void()> whenShown;
};

class PdfPrinter : public CPrintDialogSink
{
public:
    explicit PdfPrinter(std::string file) : m_file(std::move(file)) {}
    int Show(CWnd*, PRINTDLG& settings) override
    {
        settings.outputFile = m_file.c_str();
        return IDOK;
    }
    std::string Text() const
    {
        std::string out;
        if (FILE* pipe = ::popen(("pdftotext -layout '" + m_file + "' - 2>/dev/null").c_str(), "r"))
        {
            char buffer[4096];
            for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
                out.append(buffer, got);
            ::pclose(pipe);
        }
        return out;
    }

private:
    std::string m_file;
};

class PlcFromMainWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>("plcmain");
        ASSERT_EQ(chain->Error(), "");
        ASSERT_TRUE(
            chain->StartDrive({"--control", folder.Path("control"), "--journal", folder.Path("journal")}))
            << chain->Error();
        tvsk::testing::ResetProfile();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))) << "the drive chain may have started COM";
        tvsk::testing::PreparePageComponents();
        RegisterTvskStrings();
        AfxSetFileDialogSink(&files);
        AfxSetMessageBoxSink(&boxes);
        AfxSetPrintDialogSink(&printer);
        dialog = std::make_unique<CTarveskonDlg>(folder.Dir().c_str());
        ASSERT_TRUE(dialog->Create(IDD_TARVESKON_DIALOG));
        dialog->ShowWindow(SW_SHOW);
        files.path = folder.Path("Samples/TK20.dat");
        dialog->SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("OpenFile"));
        ASSERT_TRUE(MainShows("TK20/TK20_ITA.htm"));
        // The drive's PLC enabled through the host, then the link left to the editor.
        Manager().ParDb().SetCommSettings(ChainSettings(0, kPatientReplyTimeOut).c_str());
        ASSERT_EQ(Manager().Connect(""), 0);
        VARIANT on;
        VariantInit(&on);
        on.vt = VT_R8;
        on.dblVal = 1;
        ASSERT_EQ(static_cast<CPluginIntf&>(Manager()).WritePar("Pr42.4", on), HOSTRES_OK);
        Manager().Disconnect();
        ASSERT_FALSE(Manager().IsConnected());
    }
    void TearDown() override
    {
        if (dialog && dialog->GetSafeHwnd())
            dialog->DestroyWindow();
        dialog.reset();
        AfxSetFileDialogSink(nullptr);
        AfxSetMessageBoxSink(nullptr);
        AfxSetPrintDialogSink(nullptr);
        CoUninitialize();
        if (chain)
        {
            EXPECT_EQ(chain->StopDrive(), 0);
        }
    }
    bool MainShows(const std::string& page)
    {
        const std::string expected = folder.Dir() + "/" + page;
        return WaitUntil(
            [&]
            {
                const std::string url = dialog->MainPageWnd().GetLocationURL().str();
                return url.size() >= expected.size() &&
                       url.compare(url.size() - expected.size(), expected.size(), expected) == 0 &&
                       !dialog->MainPageWnd().GetBusy() &&
                       // the program has taken the page and filled it
                       dialog->MainPageWnd().GetReadyState() == 4;
            });
    }
    // What the start page's element does for a click; inside the editor's loop, look runs, then
    // the editor's exit button.
    void OpenEditor(const std::function<void(CDlgLumoPlc&)>& look)
    {
        // Looked for on a timer: opening on the program's link reads the drive, whose progress
        // runs events before the editor shows.
        bool looked = false;
        QElapsedTimer waited;
        waited.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout,
                         [&]
                         {
                             auto* editor = dynamic_cast<CDlgLumoPlc*>(
                                 CWnd::FromWidget(QApplication::activeModalWidget()));
                             if (!editor && waited.elapsed() < 120000)
                                 return;
                             watch.stop();
                             if (!editor)
                                 return;
                             look(*editor);
                             looked = true;
                             editor->SendMessage(WM_COMMAND, ID_PLC_EXIT, 0);
                         });
        watch.start(20);
        SendPluginRequest(dialog.get(), "TvskLumoPlc");
        EXPECT_TRUE(looked);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the editor closed";
    }
    Program HostProgram()
    {
        Program program;
        CString text;
        int operands[3];
        for (int i = 0; Manager().GetPlcInstr(i, text, operands); ++i)
            program.emplace_back(text.str(), std::vector<int>{operands[0], operands[1], operands[2]});
        return program;
    }
    static Program WithoutComments(const Program& program)
    {
        Program kept;
        for (const auto& instruction : program)
            if (instruction.first.rfind("COMM", 0) != 0)
                kept.push_back(instruction);
        return kept;
    }
    // The codes of the program as the code generator assembles them, by drive address from the
    // PLC base on (a long instruction takes two addresses).
    static std::map<int, long> Assembled(const Program& program)
    {
        CLumoPlcCodeGen generator;
        std::map<int, long> codes;
        int address = kPlcBase;
        for (const auto& [text, operands] : WithoutComments(program))
        {
            int ops[3] = {operands[0], operands[1], operands[2]};
            int bytes = 0;
            codes[address] = static_cast<long>(generator.Assemble(text.c_str(), ops, bytes));
            address += bytes > 2 ? 2 : 1;
        }
        return codes;
    }
    // The codes written into the PLC's memory since the journal had the size, by drive address
    // (the drive journals memory by byte offset from the PLC base).
    std::map<int, long> PlcWritesSince(std::uintmax_t size) const
    {
        std::map<int, long> codes;
        std::ifstream in(folder.Path("journal"));
        in.seekg(static_cast<std::streamoff>(size));
        for (std::string kind, address, bits, value; in >> kind >> address >> bits >> value;)
            if (kind == "write" && address.size() > 1 && address[0] == 'M')
                codes[kPlcBase + std::stoi(address.substr(1)) / 2] = std::stol(value);
        return codes;
    }
    std::uintmax_t JournalSize() const { return std::filesystem::file_size(folder.Path("journal")); }
    // How often each PLC memory address was read since the journal had the size.
    std::map<int, int> PlcReadsSince(std::uintmax_t size) const
    {
        std::map<int, int> reads;
        std::ifstream in(folder.Path("journal"));
        in.seekg(static_cast<std::streamoff>(size));
        for (std::string kind, address, bits, value; in >> kind >> address >> bits >> value;)
            if (kind == "read" && address.size() > 1 && address[0] == 'M')
                ++reads[kPlcBase + std::stoi(address.substr(1)) / 2];
        return reads;
    }
    // How many reads of any address reached the drive since the journal had the size.
    int ReadsSince(std::uintmax_t size) const
    {
        int reads = 0;
        std::ifstream in(folder.Path("journal"));
        in.seekg(static_cast<std::streamoff>(size));
        for (std::string line; std::getline(in, line);)
            reads += line.rfind("read ", 0) == 0 ? 1 : 0;
        return reads;
    }
    static int Total(const std::map<int, int>& reads)
    {
        int total = 0;
        for (const auto& [address, count] : reads)
            total += count;
        return total;
    }
    // A real click on the main toolbar's button with that tool tip.
    static void Click(CDlgLumoPlc& editor, const char* tip)
    {
        for (QToolButton* button : editor.GetMainToolBar().GetWidget()->findChildren<QToolButton*>())
            if (button->toolTip() == QString::fromUtf8(tip))
            {
                // The toolbar's states follow on a timer, as a user's next click does.
                EXPECT_TRUE(WaitUntil([button] { return button->isEnabled(); }, 10000)) << tip;
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        ADD_FAILURE() << tip;
    }
    void Tell(const std::string& line)
    {
        const int fd = ::open(folder.Path("control").c_str(), O_WRONLY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        const std::string text = line + "\n";
        EXPECT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
    }
    static CGraphBlock* Element(CDlgLumoPlc& editor, int type, const char* text)
    {
        CGraphManager* manager = editor.GetView()->GetLDManager();
        for (int i = 0; i < manager->GetNetworkCount(); ++i)
            for (CGraphBlock* element : *manager->GetElements(manager->GetNetwork(i)))
                if (element->GetType() == type && element->GetName() == text)
                    return element;
        return nullptr;
    }
    static void Select(CDlgLumoPlc& editor, const char* operand)
    {
        for (int type : {FBD_LD_CONTACT, FBD_LD_COIL})
            if (CGraphBlock* element = Element(editor, type, operand))
            {
                editor.GetView()->SelectNetwork(
                    editor.GetView()->GetLDManager()->IndexOf(element->GetNetwork()));
                editor.GetView()->SelectElement(element);
                return;
            }
        ADD_FAILURE() << operand;
    }
    // Double click on the selected element, the bit dialog answered word.bit.
    static void SetBit(CDlgLumoPlc& editor, int word, int bit)
    {
        QTimer::singleShot(0,
                           [word, bit]
                           {
                               auto* bits = dynamic_cast<CDlgBitSelect*>(
                                   CWnd::FromWidget(QApplication::activeModalWidget()));
                               ASSERT_NE(bits, nullptr);
                               bits->SetDlgItemText(IDC_BITSEL_PARAM, std::to_string(word).c_str());
                               bits->SetDlgItemText(IDC_BITSEL_BIT, std::to_string(bit).c_str());
                               bits->SendMessage(WM_COMMAND, IDOK, 0);
                           });
        editor.GetView()->EditOperand();
    }
    static std::string Counter(CDlgLumoPlc& editor)
    {
        CString text;
        editor.GetDlgItemText(IDC_PLC_CODE_COUNT, text);
        return text.str();
    }
    bool Asked(UINT id) const
    {
        CString text;
        static_cast<CPluginIntf&>(Manager()).GetString(id, text);
        return std::find(boxes.texts.begin(), boxes.texts.end(), text.str()) != boxes.texts.end();
    }
    CTvskManager& Manager() const { return dialog->Manager(); }

    ProgramFolder folder;
    std::unique_ptr<CDriveChain> chain;
    OneFileBox files;
    RecordedBoxes boxes;
    PdfPrinter printer{folder.Path("ladder.pdf")};
    std::unique_ptr<CTarveskonDlg> dialog;
};

TEST_F(PlcFromMainWindowTest, TheEditorWritesReadsBackComparesAndAnimatesANewProgram)
{
    const Program written = {
        {"LD", {75, 0, -1}}, {"AND", {3, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", {-1, -1, -1}}};
    ASSERT_EQ(HostProgram().front().first.rfind("COMM:", 0), 0u)
        << "the sample's program opens with a comment";
    OpenEditor(
        [&](CDlgLumoPlc& editor)
        {
            EXPECT_EQ(Counter(editor), "6 / 128") << "five one-word instructions and END";
            EXPECT_NE(Element(editor, FBD_LD_CONTACT, "75.0"), nullptr);
            EXPECT_FALSE(Manager().IsConnected()) << "the editor owns the link";

            editor.SendMessage(WM_COMMAND, ID_PLC_NEW_CODE, 0);
            EXPECT_TRUE(Asked(IDS_PLC_NEW_CODE_CONFIRM));
            EXPECT_EQ(Counter(editor), "1 / 128");
            editor.SendMessage(WM_COMMAND, ID_PLC_LD, 0);
            SetBit(editor, 75, 0);
            editor.SendMessage(WM_COMMAND, ID_PLC_AND, 0);
            SetBit(editor, 3, 0);
            editor.SendMessage(WM_COMMAND, ID_PLC_OUT, 0);
            SetBit(editor, 42, 0);
            EXPECT_EQ(Counter(editor), "4 / 128");

            const std::uintmax_t before = JournalSize();
            editor.SendMessage(WM_COMMAND, ID_PLC_WRITE, 0);
            EXPECT_EQ(PlcWritesSince(before), Assembled(written));
            EXPECT_EQ(Assembled(written).rbegin()->first, kPlcBase + 3);
            EXPECT_FALSE(Manager().IsConnected()) << "the link is released after the write";

            boxes.texts.clear();
            editor.SendMessage(WM_COMMAND, ID_PLC_READ, 0);
            EXPECT_TRUE(Asked(IDS_PLC_IDENTICAL)) << (boxes.texts.empty() ? "" : boxes.texts[0]);

            // The AND contact goes; reading the drive's program asks first and brings it back.
            Select(editor, "3.0");
            editor.SendMessage(WM_COMMAND, ID_PLC_DELETE, 0);
            ASSERT_EQ(Element(editor, FBD_LD_CONTACT, "3.0"), nullptr);
            EXPECT_EQ(Counter(editor), "3 / 128");
            boxes.texts.clear();
            editor.SendMessage(WM_COMMAND, ID_PLC_READ, 0);
            EXPECT_TRUE(Asked(IDS_PLC_NEW_CODE_CONFIRM));
            EXPECT_NE(Element(editor, FBD_LD_CONTACT, "3.0"), nullptr);
            EXPECT_EQ(Counter(editor), "4 / 128");
            EXPECT_FALSE(editor.IsModified());
            EXPECT_FALSE(Manager().IsConnected());

            editor.SendMessage(WM_COMMAND, ID_PLC_ONLINE, 0);
            EXPECT_TRUE(Manager().IsConnected());
            EXPECT_TRUE(editor.GetView()->IsAnimated());
            Tell("set 75 1");
            Tell("set 3 1");
            EXPECT_TRUE(WaitUntil(
                [&]
                {
                    CGraphBlock* coil = Element(editor, FBD_LD_COIL, "42.0");
                    return coil && coil->IsActive();
                }));
            editor.SendMessage(WM_COMMAND, ID_PLC_ONLINE, 0);
            EXPECT_FALSE(editor.GetView()->IsAnimated());
            EXPECT_FALSE(Manager().IsConnected()) << "off line closes the link the editor opened";
        });
    EXPECT_EQ(HostProgram(), written);
}

// The editor opened the link to go on line: leaving ends it, and the drive hears no more.
TEST_F(PlcFromMainWindowTest, LeavingOnLineEndsTheLinkTheEditorOpened)
{
    OpenEditor(
        [&](CDlgLumoPlc& editor)
        {
            editor.SendMessage(WM_COMMAND, ID_PLC_ONLINE, 0);
            EXPECT_TRUE(editor.IsOnline());
            EXPECT_TRUE(Manager().IsConnected());
            const std::uintmax_t before = JournalSize();
            EXPECT_TRUE(WaitUntil([&] { return JournalSize() > before; })) << "the animation reads";
        });
    EXPECT_FALSE(Manager().IsConnected());
    const std::uintmax_t closed = JournalSize();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (std::chrono::steady_clock::now() < until)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(JournalSize(), closed) << "nothing reaches the drive after the editor left";
}

TEST_F(PlcFromMainWindowTest, TheEditorPrintsShowsTheInstructionListAndKeepsTheProgram)
{
    const Program stored = HostProgram();
    std::string listed;
    OpenEditor(
        [&](CDlgLumoPlc& editor)
        {
            editor.SendMessage(WM_COMMAND, ID_PLC_PRINT, 0);
            QTimer::singleShot(
                0,
                [&]
                {
                    auto* list =
                        dynamic_cast<CDlgLumoPlcIL*>(CWnd::FromWidget(QApplication::activeModalWidget()));
                    ASSERT_NE(list, nullptr);
                    CString text;
                    list->GetView()->GetDocument()->GetTextBuffer().GetAllText(text, CRLF_STYLE_MAC);
                    listed = text.str();
                    list->SendMessage(WM_COMMAND, ID_IL_LADDER, 0);
                });
            editor.SendMessage(WM_COMMAND, ID_PLC_IL_MODE, 0);
        });
    const std::string text = printer.Text();
    EXPECT_NE(text.find("Configurazione: TK20.dat"), std::string::npos) << text;
    EXPECT_NE(text.find("Versione: 1.00"), std::string::npos) << text;
    EXPECT_NE(text.find("Pagina: 1 di 1"), std::string::npos) << text;
    EXPECT_NE(text.find("75.0"), std::string::npos) << text;
    EXPECT_NE(listed.find("LD\t75.0"), std::string::npos) << listed;
    EXPECT_EQ(HostProgram(), stored) << "comments too";
    BYTE* data = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(AfxGetApp()->GetProfileBinary("Settings", "LumoPlcWin", &data, &bytes));
    delete[] data;
    EXPECT_EQ(bytes, 16u);
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
}

// Opened on the program's link the editor goes on line at once: the question comes at the first
// instruction that differs, then every word of the drive's program is read once.
TEST_F(PlcFromMainWindowTest, OnTheHostsLinkTheEditorOpensOnLineAskingAtTheFirstDifference)
{
    ASSERT_EQ(Manager().Connect(""), 0);
    const std::uintmax_t before = JournalSize();
    std::map<int, int> atQuestion, atOpening;
    bool asked = false;
    boxes.whenShown = [&]
    {
        if (!asked)
            atQuestion = PlcReadsSince(before);
        asked = true;
    };
    bool online = false, animated = false;
    OpenEditor(
        [&](CDlgLumoPlc& editor)
        {
            boxes.whenShown = nullptr;
            atOpening = PlcReadsSince(before);
            online = editor.IsOnline();
            animated = editor.GetView()->IsAnimated();
        });
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_TRUE(Asked(IDS_PLC_NEW_CODE_CONFIRM)) << boxes.texts[0];
    EXPECT_EQ(Total(atQuestion), 1) << "the empty drive differs at its first word";
    const int capacity = static_cast<CPluginIntf&>(Manager()).GetPlcMaxLen();
    ASSERT_FALSE(atOpening.empty());
    EXPECT_EQ(atOpening.rbegin()->first, kPlcBase + capacity - 1);
    EXPECT_EQ(Total(atOpening), capacity + 1) << "the compare's word, then each word once";
    EXPECT_TRUE(online);
    EXPECT_TRUE(animated);
    EXPECT_TRUE(Manager().IsConnected()) << "the program's link stays";
}

// The drive's PLC not enabled: nothing can be read, the editor says so once and stays off line,
// its own program still in the configuration.
TEST_F(PlcFromMainWindowTest, WithTheDrivesPlcDisabledTheEditorStaysOffLine)
{
    ASSERT_EQ(Manager().Connect(""), 0);
    VARIANT off;
    VariantInit(&off);
    off.vt = VT_R8;
    off.dblVal = 0;
    ASSERT_EQ(static_cast<CPluginIntf&>(Manager()).WritePar("Pr42.4", off), HOSTRES_OK);
    Manager().Disconnect();
    const Program stored = HostProgram();
    bool online = true, animated = true;
    OpenEditor(
        [&](CDlgLumoPlc& editor)
        {
            Click(editor, "Modalità on-line/off-line");
            online = editor.IsOnline();
            animated = editor.GetView()->IsAnimated();
            ASSERT_EQ(boxes.texts.size(), 2u);
            EXPECT_TRUE(Asked(IDS_PLC_NEW_CODE_CONFIRM)) << boxes.texts[0];
            EXPECT_TRUE(Asked(IDS_PLC_NOT_READ)) << boxes.texts[1];
            // The write is refused by the program, which says why; the editor adds nothing.
            boxes.texts.clear();
            Click(editor, "Scarica il programma PLC nel drive");
            ASSERT_EQ(boxes.texts.size(), 1u);
            EXPECT_TRUE(Asked(2134)) << boxes.texts[0];
        });
    EXPECT_FALSE(online);
    EXPECT_FALSE(animated);
    EXPECT_FALSE(Manager().IsConnected()) << "the link the editor opened is closed";
    EXPECT_EQ(HostProgram(), stored);
}

// On a slow line the animation reads on its worker: the window keeps taking events between the
// drive's replies instead of waiting for the reads of a whole cycle. Opened on the program's link
// over the same program, the editor is on line at once.
TEST_F(PlcFromMainWindowTest, OnASlowLineTheAnimatingEditorKeepsTakingEvents)
{
    // Eight contacts on words apart: eight reads a cycle.
    CPluginIntf& host = Manager();
    host.ResetPlc();
    int operands[3] = {60, 0, -1};
    ASSERT_EQ(host.SetPlcInstr(0, "LD", operands), HOSTRES_OK);
    for (int i = 1; i < 8; ++i)
    {
        operands[0] = 60 + 2 * i;
        ASSERT_EQ(host.SetPlcInstr(i, "AND", operands), HOSTRES_OK);
    }
    operands[0] = 42;
    ASSERT_EQ(host.SetPlcInstr(8, "OUT", operands), HOSTRES_OK);
    int none[3] = {-1, -1, -1};
    ASSERT_EQ(host.SetPlcInstr(9, "END", none), HOSTRES_OK);
    Manager().ParDb().SetCommSettings(ChainSettings(0, 2000).c_str());
    ASSERT_EQ(Manager().Connect(""), 0);
    ASSERT_EQ(host.SendCommand(HOSTCMD_DOWNLPLC, 0, 0), HOSTRES_OK);
    Tell("delay 300");
    using Clock = std::chrono::steady_clock;
    Clock::duration longest{};
    int animationReads = 0;
    bool online = false, offAgain = false;
    OpenEditor(
        [&](CDlgLumoPlc& editor)
        {
            online = editor.IsOnline();
            if (!online)
                return;
            Clock::time_point last = Clock::now();
            QTimer ticks;
            QObject::connect(&ticks, &QTimer::timeout,
                             [&]
                             {
                                 const Clock::time_point now = Clock::now();
                                 longest = std::max(longest, now - last);
                                 last = now;
                             });
            ticks.start(0);
            const std::uintmax_t before = JournalSize();
            EXPECT_TRUE(WaitUntil(
                [&]
                {
                    animationReads = ReadsSince(before);
                    return animationReads >= 40;
                },
                120000));
            ticks.stop();
            Click(editor, "Modalità on-line/off-line");
            offAgain = !editor.IsOnline();
        });
    ASSERT_TRUE(online) << (boxes.texts.empty() ? "" : boxes.texts[0]);
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts[0];
    EXPECT_TRUE(offAgain);
    EXPECT_GE(animationReads, 40);
    // The window waits for one reply of the animation's at most, then its own alarm poll's: well
    // within the seconds a reader that never gives way would keep it waiting.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(longest).count(), 1500);
}

} // namespace
