#include <TvskDownload/ui/DlgInsertPar.h>
#include <TvskDownload/ui/DownloadIds.h>
#include <TvskDownload/ui/DownloadWnd.h>

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/TvskHostUi.h>
#include <Tarveskon/TvskManager.h>
#include <registry/Profile.h>
#include <ui/Dialog.h>
#include <ui/MessageBox.h>
#include <ui/SystemMenu.h>

#include <testing/DialogFit.h>
#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

namespace
{
// The application object: keys pass the windows' pre-translation as in the program.
const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

class CAnswer : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        asked.push_back(text);
        return answer;
    }
    std::vector<CString> asked;
    int answer = IDYES;
};

// The real manager on a copy of the sample data with the TK40 session open, not connected.
class DownloadWndTest : public ::testing::Test
{
protected:
    DownloadWndTest()
    {
        char pattern[] = "/tmp/tvsk-download-XXXXXX";
        dir = ::mkdtemp(pattern);
        std::filesystem::copy(TVSK_SAMPLE_DATA_DIR, dir, std::filesystem::copy_options::recursive);
        std::filesystem::remove(dir + "/TKSERIES/TK40.vbs"); // no script components registered here
        manager = std::make_unique<CTvskManager>(dir.c_str());
        manager->SetHostUi(&ui);
        EXPECT_EQ(manager->OpenFile((dir + "/Samples/TK40.dat").c_str()), 0);
        previous = AfxSetMessageBoxSink(&boxes);
        plugin = proxy.CreateLoader("TvskDownload.dll")->CreatePluginClass(nullptr);
        plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(manager.get()), 0);
    }
    ~DownloadWndTest() override
    {
        proxy.Reset();
        AfxSetMessageBoxSink(previous);
        manager.reset();
        std::filesystem::remove_all(dir);
    }

    CDownloadWnd& Window() { return *CWndFromPlugin(); }
    CDownloadWnd* CWndFromPlugin()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* wnd = dynamic_cast<CDownloadWnd*>(CWnd::FromWidget(widget)))
                return wnd;
        return nullptr;
    }
    bool Disabled(UINT id)
    {
        CToolBarDlg& bar = Window().ToolBar();
        bar.OnUpdateCmdUI(&Window(), TRUE);
        return (bar.GetButtonStyle(bar.CommandToIndex(id)) & TBBS_DISABLED) != 0;
    }

    std::string dir;
    CTvskHeadlessUi ui;
    std::unique_ptr<CTvskManager> manager;
    CAnswer boxes;
    CMessageBoxSink* previous = nullptr;
    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = nullptr;
};
} // namespace

TEST_F(DownloadWndTest, NoToExclusiveModeOpensTheWindowWithTheDriveCommandsOff)
{
    ASSERT_NE(plugin, nullptr);
    EXPECT_STREQ(plugin->GetClassName(), "TvskDownloadClass");
    boxes.answer = IDNO;
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0], "Abilitare la finestra di download in modalità esclusiva?");
    ASSERT_NE(CWndFromPlugin(), nullptr);
    EXPECT_TRUE(Window().IsWindowVisible());
    EXPECT_EQ(Window().ParGrid().GetNumRows(), manager->GetParNum());
    for (UINT id : {ID_DL_READ, ID_DL_READ_ALL, ID_DL_SAVE})
        EXPECT_TRUE(Disabled(id)) << id;
    EXPECT_FALSE(Disabled(ID_DL_TMP_ADD));

    // Running again while shown asks nothing; closing hides and asks again at the next run.
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    EXPECT_EQ(boxes.asked.size(), 1u);
    Window().SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(Window().IsWindowVisible());
    boxes.answer = IDYES;
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    EXPECT_EQ(boxes.asked.size(), 2u);
    EXPECT_TRUE(manager->IsExclusiveMode());
}

// Every way the window closes ends the exclusive mode it set: the close box, the system menu's
// close, and its owner ending while it is shown.
TEST_F(DownloadWndTest, EveryCloseEndsExclusiveMode)
{
    const std::vector<std::pair<const char*, std::function<void(CDownloadWnd&)>>> closes = {
        {"close box", [](CDownloadWnd& wnd) { wnd.GetWidget()->close(); }},
        {"WM_CLOSE", [](CDownloadWnd& wnd) { wnd.SendMessage(WM_CLOSE); }},
        {"system menu", [](CDownloadWnd& wnd) { wnd.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }}};
    for (const auto& [name, close] : closes)
    {
        plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
        ASSERT_TRUE(manager->IsExclusiveMode()) << name;
        close(Window());
        EXPECT_FALSE(manager->IsExclusiveMode()) << name;
        ASSERT_NE(CWndFromPlugin(), nullptr) << name;
        EXPECT_FALSE(Window().IsWindowVisible()) << name;
    }
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    ASSERT_TRUE(manager->IsExclusiveMode());
    proxy.Reset();
    EXPECT_FALSE(manager->IsExclusiveMode());
}

TEST_F(DownloadWndTest, AMonitoredRowIsAddedOnceAndRemoved)
{
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    CDownloadWnd& wnd = Window();
    wnd.ParGrid().Move(0, 1);
    wnd.OnMonitorAdd();
    ASSERT_EQ(wnd.MonitorGrid().GetNumRows(), 1);
    ASSERT_NE(wnd.Task(), nullptr);
    EXPECT_EQ(wnd.Task()->GetCount(), 1);
    wnd.OnMonitorAdd(); // the host keeps one entry a name
    EXPECT_EQ(wnd.MonitorGrid().GetNumRows(), 1);
    EXPECT_EQ(manager->GetMonitorParNum(), 1);

    wnd.Select(&wnd.Monitor());
    wnd.MonitorGrid().Move(0, 1);
    wnd.OnMonitorRemove();
    EXPECT_EQ(wnd.MonitorGrid().GetNumRows(), 0);
    EXPECT_EQ(wnd.Task()->GetCount(), 0);
    EXPECT_EQ(manager->GetMonitorParNum(), 0);
}

TEST_F(DownloadWndTest, KeysAndWheelGoToTheSelectedGridAndDeleteRemovesAMonitorEntry)
{
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    CDownloadWnd& wnd = Window();
    const auto key = [&wnd](CWnd* target, UINT code)
    {
        MSG msg;
        msg.hwnd = target;
        msg.message = WM_KEYDOWN;
        msg.wParam = code;
        return wnd.PreTranslateMessage(&msg);
    };
    wnd.ParGrid().Move(0, 1);
    EXPECT_TRUE(key(&wnd.MonitorGrid(), VK_DOWN)); // the parameter grid is the selected one
    EXPECT_EQ(wnd.ParGrid().SelectedRow(), 1);
    int first = -1;
    int last = -1;
    wnd.ParGrid().GetVisibleRows(first, last);
    ASSERT_EQ(first, 0);
    ASSERT_LT(last + 1, wnd.ParGrid().GetNumRows());
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0); // over the window itself
    wnd.ParGrid().GetVisibleRows(first, last);
    EXPECT_EQ(first, 1);
    wnd.OnMonitorAdd();
    ASSERT_EQ(wnd.MonitorGrid().GetNumRows(), 1);

    EXPECT_TRUE(key(&wnd, VK_DELETE)); // no monitor entry goes while the parameter grid is selected
    EXPECT_EQ(manager->GetMonitorParNum(), 1);
    wnd.Select(&wnd.Monitor());
    wnd.MonitorGrid().Move(0, 1);
    EXPECT_TRUE(key(&wnd.MonitorGrid(), VK_DELETE));
    EXPECT_EQ(wnd.MonitorGrid().GetNumRows(), 0);
    EXPECT_EQ(wnd.Task()->GetCount(), 0);
    EXPECT_EQ(manager->GetMonitorParNum(), 0);
}

TEST_F(DownloadWndTest, CommandsWithoutAHostReportAnInternalError)
{
    CDownloadWnd wnd;
    testing::internal::CaptureStderr();
    wnd.OnMonitorAdd();
    wnd.OnMonitorRemove();
    wnd.OnTmpRemove();
    const std::string errors = testing::internal::GetCapturedStderr();
    size_t reports = 0;
    for (size_t at = errors.find("ProgramError: DownloadWnd("); at != std::string::npos;
         at = errors.find("ProgramError: DownloadWnd(", at + 1))
        ++reports;
    EXPECT_EQ(reports, 3u) << errors;
}

TEST_F(DownloadWndTest, ATemporaryParameterIsAddedAndRemoved)
{
    ASSERT_TRUE(manager->SetMenu(-1)); // the list that shows temporary parameters
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    CDownloadWnd& wnd = Window();
    const int rows = wnd.ParGrid().GetNumRows();
    QTimer::singleShot(0,
                       []
                       {
                           auto* dialog = dynamic_cast<CDlgInsertPar*>(
                               CWnd::FromWidget(QApplication::activeModalWidget()));
                           ASSERT_NE(dialog, nullptr);
                           dialog->SetDlgItemText(IDC_INSERTPAR_ADDRESS, "120");
                           dialog->SetDlgItemText(IDC_INSERTPAR_DESCR, "Prova");
                           dialog->SendMessage(WM_COMMAND, IDOK, 0);
                       });
    wnd.OnTmpAdd();
    ASSERT_EQ(wnd.ParGrid().GetNumRows(), rows + 1);
    ASSERT_EQ(manager->GetParNum(), rows + 1);
    int added = -1;
    for (int row = 0; row < manager->GetParNum(); ++row)
        if (wnd.Pars().Field(row, FIELD_TEMPORARY) != "0")
            added = row;
    ASSERT_GE(added, 0);
    wnd.ParGrid().Move(added, 1);
    wnd.OnTmpRemove();
    EXPECT_EQ(wnd.ParGrid().GetNumRows(), rows);
    EXPECT_EQ(manager->GetParNum(), rows);
}

TEST_F(DownloadWndTest, OpeningTheWindowKeepsTheHostsMenu)
{
    int menu = -1;
    ASSERT_TRUE(manager->GetCurrMenuID(&menu));
    const int rows = manager->GetParNum();
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    CDownloadWnd& wnd = Window();
    wnd.SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    WaitUntil([] { return false; }, 200);
    int now = -1;
    ASSERT_TRUE(manager->GetCurrMenuID(&now));
    EXPECT_EQ(now, menu);
    EXPECT_EQ(manager->GetParNum(), rows);
    CComboBox* combo = wnd.ToolBar().GetComboBox();
    ASSERT_NE(combo->GetCurSel(), CB_ERR) << "the list shows the host's menu";
    EXPECT_EQ(static_cast<int>(combo->GetItemData(combo->GetCurSel())), menu);
}

// The menu list opens on the host's menu (every parameter at first); a key in it chooses another,
// which the host and the parameter grid then show; the first entry goes back to every parameter.
TEST_F(DownloadWndTest, TheMenuListShowsTheHostsMenuAndAKeyChoosesAnother)
{
    int menu = -1;
    ASSERT_TRUE(manager->GetCurrMenuID(&menu));
    ASSERT_EQ(menu, 0);
    const int rows = manager->GetParNum();
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    CDownloadWnd& wnd = Window();
    CComboBox* combo = wnd.ToolBar().GetComboBox();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCurSel(), 0);
    CString shown;
    combo->GetLBText(combo->GetCurSel(), shown);
    EXPECT_EQ(shown, CString("Tutti i parametri"));
    CString first;
    combo->GetLBText(1, first);
    EXPECT_EQ(first, CString("Configurazione"));

    std::vector<std::unique_ptr<QKeyEvent>> keys; // the window layer knows an event by its address
    const auto press = [&](Qt::Key key)
    {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        {
            keys.push_back(std::make_unique<QKeyEvent>(type, key, Qt::NoModifier));
            QApplication::sendEvent(combo->GetWidget(), keys.back().get());
        }
    };
    wnd.GetWidget()->activateWindow();
    combo->SetFocus();
    press(Qt::Key_Down);
    int now = -1;
    ASSERT_TRUE(WaitUntil([&] { return manager->GetCurrMenuID(&now) && now == 1; }, 20000)) << now;
    ASSERT_TRUE(WaitUntil([&] { return wnd.ParGrid().GetNumRows() == manager->GetParNum(); }, 20000));
    EXPECT_LT(manager->GetParNum(), rows);
    EXPECT_GT(manager->GetParNum(), 0);

    press(Qt::Key_Up);
    ASSERT_TRUE(WaitUntil([&] { return manager->GetCurrMenuID(&now) && now == 0; }, 20000)) << now;
    ASSERT_TRUE(WaitUntil([&] { return wnd.ParGrid().GetNumRows() == rows; }, 20000));
}

// A temporary parameter added in the window shows as one more row of the list it is working in,
// and again when the configuration is opened anew.
TEST_F(DownloadWndTest, AnAddedTemporaryParameterShowsAndComesBackWithTheFile)
{
    manager->SetSaveMonitor(TRUE);
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    CDownloadWnd& wnd = Window();
    const int rows = wnd.ParGrid().GetNumRows();
    ASSERT_EQ(rows, manager->GetParNum());
    const size_t asked = boxes.asked.size();
    QTimer::singleShot(0,
                       []
                       {
                           auto* dialog = dynamic_cast<CDlgInsertPar*>(
                               CWnd::FromWidget(QApplication::activeModalWidget()));
                           ASSERT_NE(dialog, nullptr);
                           dialog->SetDlgItemText(IDC_INSERTPAR_ADDRESS, "200");
                           dialog->SetDlgItemText(IDC_INSERTPAR_DESCR, "Prova");
                           dialog->SendMessage(WM_COMMAND, IDOK, 0);
                       });
    wnd.SendMessage(WM_COMMAND, ID_DL_TMP_ADD, 0);
    const auto listed = [](CDownloadWnd& shown)
    {
        std::vector<std::string> names;
        for (int row = 0; row < shown.ParGrid().GetNumRows(); ++row)
            if (shown.Pars().Field(row, FIELD_TEMPORARY) != "0")
                names.push_back(shown.Pars().Field(row, FIELD_NAME).str());
        return names;
    };
    EXPECT_EQ(wnd.ParGrid().GetNumRows(), rows + 1);
    EXPECT_EQ(listed(wnd), std::vector<std::string>{"200"});
    EXPECT_EQ(boxes.asked.size(), asked) << "accepted without a word";

    const std::string saved = dir + "/Samples/WithTemporary.dat";
    ASSERT_EQ(manager->SaveFile(saved.c_str()), 0);
    proxy.Reset();
    ASSERT_EQ(manager->OpenFile(saved.c_str()), 0);
    plugin = proxy.CreateLoader("TvskDownload.dll")->CreatePluginClass(nullptr);
    plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(manager.get()), 0);
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    EXPECT_EQ(Window().ParGrid().GetNumRows(), rows + 1);
    EXPECT_EQ(listed(Window()), std::vector<std::string>{"200"});
}

TEST_F(DownloadWndTest, TheFormatColumnChangesHowValuesShow)
{
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    CDownloadWnd& wnd = Window();
    CString plain;
    ASSERT_EQ(wnd.Pars().GetElemS(0, 2, plain), 1);
    wnd.OnShowFormat();
    EXPECT_TRUE(wnd.IsShowFormat());
    ASSERT_EQ(wnd.Pars().SetElemI(0, 3, PARFMT_BINARY, 0), 1);
    CString binary;
    wnd.Pars().GetElemS(0, 2, binary);
    EXPECT_NE(binary, plain);
    EXPECT_EQ(binary.FindOneOf("23456789"), -1) << binary.GetString();
}

TEST_F(DownloadWndTest, AFirstOpeningIsWhollyOnScreenWithPicturesAndGridsThatFollowItsSize)
{
    CProfile::Instance().WriteProfileBinary("Settings", "DownloadWin", nullptr, 0); // no stored place
    const tvsk::testing::ScopedDesktopFont font(9);
    boxes.answer = IDNO;
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    ASSERT_NE(CWndFromPlugin(), nullptr);
    EXPECT_EQ(tvsk::testing::CutTexts(Window()), std::vector<std::string>{});
    CRect rect;
    Window().GetWindowRect(&rect);
    // At 10,10 and 290 pixels wide and high, its frame's border aside.
    EXPECT_EQ(rect.TopLeft(), CPoint(10, 10));
    EXPECT_NEAR(rect.Width(), 290, 8);
    EXPECT_NEAR(rect.Height(), 290, 8);
    // Its splitter bar is 20 pixels high, across the window below the toolbar.
    CRect bar;
    Window().Splitter().GetWindowRect(&bar);
    CRect client;
    Window().GetClientRect(&client);
    EXPECT_EQ(bar.Height(), 20);
    EXPECT_EQ(bar.Width(), client.Width());

    // Every button shows a picture (not a letter) and tells what it does in its tool tip.
    int buttons = 0;
    for (QToolButton* button : Window().ToolBar().GetWidget()->findChildren<QToolButton*>())
    {
        ++buttons;
        EXPECT_TRUE(button->text().isEmpty()) << button->text().toStdString();
        EXPECT_FALSE(button->toolTip().isEmpty());
        const QImage picture = button->icon().pixmap(16, 15).toImage();
        std::set<QRgb> colours;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                colours.insert(picture.pixel(x, y));
        EXPECT_GE(colours.size(), 3u) << button->toolTip().toStdString();
    }
    EXPECT_EQ(buttons, 10);
    const int read = Window().ToolBar().CommandToIndex(ID_DL_READ);
    EXPECT_EQ(Window().ToolBar().GetButtonToolTip(read), CString("Leggi parametro"));

    // Both grids span the client area's width at any size.
    for (const auto [width, height] : {std::pair{600, 400}, std::pair{1000, 700}})
    {
        Window().MoveWindow(rect.left, rect.top, width, height);
        CRect client;
        Window().GetClientRect(&client);
        for (CEditGrid* grid : {&Window().ParGrid(), &Window().MonitorGrid()})
        {
            CRect gridRect;
            grid->GetWindowRect(&gridRect);
            EXPECT_EQ(gridRect.Width(), client.Width()) << width;
            EXPECT_GT(gridRect.Height(), 40) << width;
            // its columns fill it: the description takes what the others leave
            CRect gridClient;
            grid->GetClientRect(&gridClient);
            int columns = 30 + GetSystemMetrics(SM_CXVSCROLL);
            for (int col = 0; col < 4; ++col)
                columns += grid->GetColWidth(col);
            EXPECT_GE(grid->GetColWidth(1), 350) << width;
            if (width == 1000)
                EXPECT_EQ(columns, gridClient.Width()) << width;
        }
    }
}
