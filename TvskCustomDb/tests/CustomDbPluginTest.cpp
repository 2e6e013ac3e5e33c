#include <TvskCustomDb/ui/DlgMotorDb.h>

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <TvskDb/TvskMotorDb.h>
#include <com/Variant.h>
#include <testing/DialogFit.h>
#include <ui/MessageBox.h>

#include <QApplication>
#include <QFontMetrics>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class CMotorHost : public CPluginIntf
{
public:
    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    CTvskMotorDb* GetMotorDb() override { return &motors; }
    CTvskMotorDb motors;
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
