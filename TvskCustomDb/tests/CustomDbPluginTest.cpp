#include <TvskCustomDb/ui/DlgMotorDb.h>

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <TvskDb/TvskMotorDb.h>
#include <com/Variant.h>
#include <testing/DialogFit.h>
#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/MessageBox.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// The application object: keys pass the dialog's pre-translation as in the program.
const tvsk::test::TestApplication g_app("CustomDbTests", "MurnApps");

class CMotorHost : public CPluginIntf
{
public:
    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    CTvskMotorDb* GetMotorDb() override { return &motors; }
    long SendCommand(UINT code, long param1, long) override
    {
        commands.emplace_back(code, param1);
        return 0;
    }
    CTvskMotorDb motors;
    std::vector<std::pair<UINT, long>> commands;
};

class CAnswer : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        asked.push_back(text);
        return answer;
    }
    std::vector<CString> asked;
    int answer = IDNO;
};

class CustomDbPluginTest : public ::testing::Test
{
protected:
    CustomDbPluginTest()
    {
        fs::create_directories(dir);
        fs::copy_file(fs::path(TVSK_SAMPLE_DATA_DIR) / "Motor.db", dir / "Motor.db");
        fs::copy_file(fs::path(TVSK_SAMPLE_DATA_DIR) / "CustomMotor.db", dir / "CustomMotor.db");
        EXPECT_EQ(host.motors.Load((dir / "Motor.db").c_str(), (dir / "CustomMotor.db").c_str()), 0);
        previous = AfxSetMessageBoxSink(&boxes);
        plugin = proxy.CreateLoader("TvskCustomDb.dll")->CreatePluginClass(nullptr);
    }
    ~CustomDbPluginTest() override
    {
        AfxSetMessageBoxSink(previous);
        fs::remove_all(dir);
    }

    // Runs the dialog and does the step inside its loop.
    void Run(std::function<void(CDlgMotorDb&)> step)
    {
        QTimer::singleShot(0,
                           [step]
                           {
                               auto* dialog = dynamic_cast<CDlgMotorDb*>(
                                   CWnd::FromWidget(QApplication::activeModalWidget()));
                               ASSERT_NE(dialog, nullptr);
                               step(*dialog);
                           });
        plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(&host), 0);
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    }

    int Saved()
    {
        int saved = -1;
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RESULT, reinterpret_cast<intptr_t>(&saved), 0), 1);
        return saved;
    }

    const fs::path dir = fs::temp_directory_path() / ("customdb-" + std::to_string(getpid()));
    CMotorHost host;
    CAnswer boxes;
    CMessageBoxSink* previous = nullptr;
    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = nullptr;
};
} // namespace

TEST_F(CustomDbPluginTest, AddingAMotorAndSavingIsReportedToTheMotorDialog)
{
    ASSERT_NE(plugin, nullptr);
    EXPECT_STREQ(plugin->GetClassName(), "TvskCustomDbClass");
    Run(
        [](CDlgMotorDb& dialog)
        {
            EXPECT_EQ(dialog.GetGrid()->GetNumRows(), 3);
            dialog.OnAdd();
            CCustomMotorSet& set = dialog.GetData().Set();
            EXPECT_TRUE(set.SetText(3, 0, "MQ"));
            EXPECT_TRUE(set.SetText(3, 21, "30500"));
            EXPECT_TRUE(dialog.GetWindowText().Find(" *") > 0);
            dialog.OnSave();
            EXPECT_EQ(dialog.GetWindowText(), "Database motori utente");
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(Saved(), 1);
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(host.motors.GetRecordsNum(2), 4);
}

TEST_F(CustomDbPluginTest, AFailedSaveSaysWhyAndKeepsTheChanges)
{
    // A directory where the file was: the rename over it fails for every user.
    fs::remove(dir / "CustomMotor.db");
    fs::create_directories(dir / "CustomMotor.db" / "keep");
    boxes.answer = IDNO; // to the question at the close
    Run(
        [](CDlgMotorDb& dialog)
        {
            dialog.OnAdd();
            dialog.OnSave();
            EXPECT_TRUE(dialog.GetData().Set().IsModified());
            EXPECT_TRUE(dialog.GetWindowText().Find(" *") > 0);
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_EQ(boxes.asked[0], "Il database motori utente non è stato salvato; il file resta com'era.\n" +
                                  (dir / "CustomMotor.db").string() + ": Is a directory");
    EXPECT_EQ(Saved(), 0);
}

TEST_F(CustomDbPluginTest, ClosingWithChangesAsksAndCancelKeepsTheDialog)
{
    boxes.answer = IDCANCEL;
    Run(
        [this](CDlgMotorDb& dialog)
        {
            dialog.OnDelete();
            dialog.GetData().Set().Delete(0);
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
            EXPECT_EQ(boxes.asked.size(), 1u);
            EXPECT_TRUE(dialog.IsWindowVisible());
            boxes.answer = IDNO;
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(Saved(), 0);
    EXPECT_EQ(host.motors.GetRecordsNum(2), 3);
}

TEST_F(CustomDbPluginTest, EveryColumnShowsItsWholeTitleAtTheDesktopFonts)
{
    for (const int points : tvsk::testing::kDesktopFontPoints)
    {
        const tvsk::testing::ScopedDesktopFont font(points);
        std::vector<std::string> cut;
        Run(
            [&cut](CDlgMotorDb& dialog)
            {
                const QFontMetrics metrics(dialog.GetGrid()->GetWidget()->font());
                for (int col = 0; col < CCustomMotorSet::kColumns; ++col)
                {
                    CString title;
                    dialog.GetData().GetHeaderS(CDbIntf::Columns()[col].headerStringId, title);
                    if (dialog.GetGrid()->GetColWidth(col) < metrics.horizontalAdvance(title.GetString()) + 8)
                        cut.push_back(title.str());
                }
                dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
            });
        EXPECT_EQ(cut, std::vector<std::string>{}) << points << " pt";
    }
}

// Enter in an edited cell moves on and Escape leaves the cell: both stay in the grid, whether the
// set was changed or not, and neither asks to save nor closes the dialog.
TEST_F(CustomDbPluginTest, EnterAndEscapeInAnEditedCellStayInTheGrid)
{
    boxes.answer = IDNO;
    Run(
        [this](CDlgMotorDb& dialog)
        {
            CEditGrid& grid = *dialog.GetGrid();
            // Each event kept alive: the pre-translation passes an event once, known by its address.
            std::vector<std::unique_ptr<QKeyEvent>> sent;
            const auto key = [&](Qt::Key k)
            {
                for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                {
                    QWidget* focus = QApplication::focusWidget();
                    sent.push_back(std::make_unique<QKeyEvent>(type, k, Qt::NoModifier));
                    QApplication::sendEvent(focus ? focus : grid.GetWidget(), sent.back().get());
                }
                QTest::qWait(50);
            };
            for (const bool changed : {false, true})
            {
                if (changed)
                    dialog.OnAdd();
                grid.SetFocus();
                grid.Move(0, 0);
                key(Qt::Key_Return);
                EXPECT_TRUE(grid.IsEditing()) << "Enter opens the cell, changed " << changed;
                key(Qt::Key_Return);
                EXPECT_TRUE(grid.IsEditing())
                    << "Enter in the cell moves to the next one, changed " << changed;
                key(Qt::Key_Escape);
                EXPECT_FALSE(grid.IsEditing()) << "Escape leaves the cell";
                EXPECT_TRUE(boxes.asked.empty()) << "changed " << changed;
                EXPECT_TRUE(dialog.IsWindowVisible()) << "changed " << changed;
            }
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(boxes.asked.size(), 1u) << "only the close asks";
}

// Every toolbar button says what it does; F1 asks the host for the help's topic of the motors.
TEST_F(CustomDbPluginTest, ToolBarButtonsHaveTipsAndF1AsksForTheMotorsTopic)
{
    Run(
        [](CDlgMotorDb& dialog)
        {
            QStringList tips;
            for (QToolButton* button : dialog.GetWidget()->findChildren<QToolButton*>())
                if (button->isVisible())
                    tips << button->toolTip();
            EXPECT_EQ(tips,
                      QStringList({"Salva il database", "Aggiungi motore", "Elimina motore", "Chiudi"}));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
            QApplication::sendEvent(dialog.GetGrid()->GetWidget(), &press);
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_NE(std::find(host.commands.begin(), host.commands.end(), std::pair<UINT, long>(50, 1002)),
              host.commands.end());
}

// The dialog tracks between a caption-high strip 200 pixels wide and the screen.
TEST_F(CustomDbPluginTest, TrackSizesRunFromACaptionStripToTheScreen)
{
    Run(
        [](CDlgMotorDb& dialog)
        {
            MINMAXINFO info{};
            dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            EXPECT_EQ(info.ptMaxTrackSize.x, screen.width());
            EXPECT_EQ(info.ptMaxTrackSize.y, screen.height());
            EXPECT_EQ(info.ptMinTrackSize.x, 200);
            EXPECT_GT(info.ptMinTrackSize.y, 0);
            EXPECT_LT(info.ptMinTrackSize.y, 60);
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
}

// The wheel turned anywhere in the dialog, here over its toolbar, scrolls the grid.
TEST_F(CustomDbPluginTest, TheWheelScrollsTheGridFromAnywhereInTheDialog)
{
    Run(
        [](CDlgMotorDb& dialog)
        {
            for (int i = 0; i < 40; ++i)
                dialog.OnAdd();
            dialog.MoveWindow(0, 0, 600, 240);
            QScrollBar* rows = nullptr;
            for (QScrollBar* bar : dialog.GetGrid()->GetWidget()->findChildren<QScrollBar*>())
                if (bar->orientation() == Qt::Vertical)
                    rows = bar;
            ASSERT_NE(rows, nullptr);
            const int before = rows->value(); // the last row added is in view
            ASSERT_GT(before, 0);
            QWidget* top = dialog.GetWidget();
            const QPointF at(300, 10); // the toolbar's strip
            QWheelEvent wheel(at, top->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(top, &wheel);
            EXPECT_LT(rows->value(), before) << "one row up";
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
}

// With real clicks and keys: a click opens the clicked cell; letters in a number's cell are refused
// with a word and the cell keeps its value; Escape with no cell open asks as the close box does.
TEST_F(CustomDbPluginTest, AClickEditsTheCellLettersAreRefusedAndEscapeClosesAsTheCloseBox)
{
    boxes.answer = IDCANCEL;
    bool stillOpen = false;
    Run(
        [&](CDlgMotorDb& dialog)
        {
            CEditGrid& grid = *dialog.GetGrid();
            std::vector<std::unique_ptr<QKeyEvent>> sent; // the pre-translation knows an event by its address
            const auto key = [&](int k, const QString& text = QString())
            {
                for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                {
                    QWidget* focus = QApplication::focusWidget();
                    sent.push_back(std::make_unique<QKeyEvent>(type, k, Qt::NoModifier, text));
                    QApplication::sendEvent(focus ? focus : grid.GetWidget(), sent.back().get());
                }
            };
            const auto click = [&](int row, int col)
            {
                const CRect cell = grid.GetCellRect(row, col);
                QTest::mouseClick(grid.GetWidget(), Qt::LeftButton, {}, QPoint(cell.left + 5, cell.top + 5));
            };
            const auto steps = [&]
            {
                dialog.GetWidget()->activateWindow();
                click(1, 5);
                ASSERT_TRUE(grid.IsEditing()) << "one click opens the cell";
                ASSERT_TRUE(WaitUntil(
                    [&] {
                        return grid.GetEditBox() &&
                               QApplication::focusWidget() == grid.GetEditBox()->GetWidget();
                    },
                    20000))
                    << "the cell's editor has the keyboard";
                EXPECT_EQ(grid.SelectedRow(), 1);
                EXPECT_EQ(grid.SelectedCol(), 5);
                const CString before = dialog.GetData().Set().GetText(1, 5);
                key(Qt::Key_A, "a");
                key(Qt::Key_B, "b");
                key(Qt::Key_C, "c");
                key(Qt::Key_Return);
                EXPECT_EQ(boxes.asked,
                          std::vector<CString>{"«abc» non è un numero: la cella resta com'era."});
                EXPECT_EQ(dialog.GetData().Set().GetText(1, 5), before);
                EXPECT_FALSE(dialog.GetData().Set().IsModified());
                key(Qt::Key_Escape);
                EXPECT_FALSE(grid.IsEditing());
                EXPECT_TRUE(dialog.IsWindowVisible()) << "Escape in a cell ends the cell's edit only";

                dialog.OnAdd();
                EXPECT_EQ(dialog.GetData().Set().GetText(3, 21), "30000") << "a free ID of the users' range";
                click(3, 1);
                EXPECT_TRUE(grid.IsEditing());
                key(Qt::Key_Escape); // a changed set: still the cell's edit only
                EXPECT_FALSE(grid.IsEditing());
                EXPECT_EQ(boxes.asked.size(), 1u);
                EXPECT_TRUE(dialog.IsWindowVisible());
                key(Qt::Key_Escape); // no cell open: as the close box, with its question
                ASSERT_EQ(boxes.asked.size(), 2u);
                EXPECT_EQ(boxes.asked[1], "Il database è stato modificato.\n\nVuoi salvare le modifiche ?");
                stillOpen = dialog.IsWindowVisible();
                boxes.answer = IDNO;
                key(Qt::Key_Escape);
            };
            steps();
            dialog.EndDialog(IDCANCEL); // a step that failed leaves it open: the loop ends all the same
        });
    EXPECT_TRUE(stillOpen) << "Cancel keeps the dialog";
    EXPECT_EQ(boxes.asked.size(), 3u) << "the last Escape asks again and closes on No";
    EXPECT_EQ(Saved(), 0);
}

// A motor whose ID lies outside the users' range (a hand-edited file) is named at the save.
TEST_F(CustomDbPluginTest, SavingAMotorWithAnIdOutsideTheUsersRangeSaysWhich)
{
    host.motors.GetRecord(2, 2)->dblD12 = 12;
    boxes.answer = IDNO;
    Run(
        [](CDlgMotorDb& dialog)
        {
            dialog.GetData().Set().SetText(0, 0, "MQ");
            dialog.OnSave();
            EXPECT_TRUE(dialog.GetData().Set().IsModified());
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    ASSERT_GE(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0], "Il motore della riga 3 ha l'ID 12, fuori dall'intervallo da 30000 a 32767: il "
                              "database non è stato salvato.");
    EXPECT_EQ(Saved(), 0);
}
