// The main program end to end: the sample TK40 session opened by the main dialog, its PLC program
// and cams sent to drivesim from the download-and-save dialog, and the program read back equal.
#include "DialogFixture.h"

#include <Tarveskon/DlgSaveAndDownload.h>

#include <protocol/tests/DriveChain.h>
#include <testing/TestApplication.h>
#include <ui/Controls.h>

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>

namespace
{

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

using Lines = std::vector<std::string>;

class SampleDownloadTest : public tvsk::testing::DialogFixture
{
protected:
    void SetUp() override
    {
        chain =
            std::make_unique<CDriveChain>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        journal = folder.Path("journal");
        ASSERT_TRUE(chain->StartDrive({"--par", folder.Path("TKSERIES/TK40.par"), "--journal", journal}))
            << chain->Error();
        tvsk::testing::DialogFixture::SetUp();
    }
    void TearDown() override
    {
        tvsk::testing::DialogFixture::TearDown();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    // The session's own link settings lead to drivesim.
    void BeforeDialog() override
    {
        folder.Replace("Samples/TK40.dat", "VrnSer:0,200#COM:1,9600,E,8,1",
                       ChainSettings(0, kPatientReplyTimeOut));
    }
    CTvskManager& Manager() { return dialog->Manager(); }

    // Opens the download-and-save dialog by the page word "Upload" and acts on it once it is up.
    void WithSaveAndDownload(const std::function<void(CDlgSaveAndDownload&)>& act)
    {
        bool acted = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout,
                         [&]
                         {
                             QWidget* modal = QApplication::activeModalWidget();
                             auto* save = modal ? dynamic_cast<CDlgSaveAndDownload*>(CWnd::FromWidget(modal))
                                                : nullptr;
                             if (!save || acted)
                                 return;
                             acted = true;
                             act(*save);
                             save->PostMessage(WM_COMMAND, IDOK, 0);
                         });
        poll.start(20);
        dialog->SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("Upload"));
        EXPECT_TRUE(acted);
    }
    static void Press(CWnd& dlg, std::initializer_list<UINT> boxes, UINT button)
    {
        for (const UINT id : boxes)
        {
            static_cast<CButton*>(dlg.GetDlgItem(id))->SetCheck(BST_CHECKED);
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        }
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    Lines Journal()
    {
        std::ifstream in(journal);
        Lines lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    std::string Instruction(int i)
    {
        CString text;
        int operands[3];
        if (!Manager().GetPlcInstr(i, text, operands))
            return "";
        std::string line = text.str();
        for (const int operand : operands)
            if (operand != -1)
                line += " " + std::to_string(operand);
        return line;
    }

    std::unique_ptr<CDriveChain> chain;
    std::string journal;
};

TEST_F(SampleDownloadTest, TheSamplesProgramAndCamsLandInTheDriveAndTheProgramComesBackEqual)
{
    OpenSample("Samples/TK40.dat");
    ASSERT_STREQ(Manager().DataDb().GetDrive(), "TK40^8^400");
    ASSERT_FALSE(Manager().IsConnected());

    // The parameters go first: they switch the drive's PLC on for the program that follows.
    WithSaveAndDownload(
        [](CDlgSaveAndDownload& save) {
            Press(save, {IDC_DOWNLOAD_PARAMS, IDC_DOWNLOAD_PLC, IDC_DOWNLOAD_CAMS}, IDC_DOWNLOAD);
        });
    EXPECT_FALSE(Manager().IsConnected()) << "the connection the download opened is closed again";
    EXPECT_EQ(boxes.texts, Lines{}) << "no error on the way";

    Lines program;
    std::map<int, long> cams;
    for (const std::string& line : Journal())
    {
        int word = 0;
        long value = 0;
        if (line.rfind("write M", 0) == 0)
            program.push_back(line);
        else if (std::sscanf(line.c_str(), "write %d 16 %ld", &word, &value) == 2 && word >= 2048 &&
                 word < 3584 + 257)
        {
            EXPECT_TRUE(cams.emplace(word, value).second) << "written twice: " << word;
        }
    }
    EXPECT_EQ(program,
              (Lines{"write M0 16 19200", "write M2 16 772", "write M4 16 10754", "write M6 16 800",
                     "write M8 16 19459", "write M10 16 19216", "write M12 16 19238", "write M14 16 38412",
                     "write M16 16 38413", "write M18 32 1886350856", "write M22 16 15"}));

    std::map<int, long> expected;
    for (const int start : {2048, 2560, 3072, 3584})
        for (int point = 0; point < 257; ++point)
            expected[start + point] = 0;
    const std::pair<int, long> filled[] = {{2048 + 1, 250},  {2048 + 2, 500},           {2048 + 3, 750},
                                           {2048 + 4, 1000}, {2048 + 256, 1000},        {2560, 1000},
                                           {2560 + 1, 800},  {2560 + 128, 0xFFFF - 199}};
    for (const auto& [word, value] : filled)
        expected[word] = value;
    EXPECT_EQ(cams, expected);

    ASSERT_EQ(Manager().Connect(""), 0);
    int equal = 0;
    ASSERT_EQ(Manager().SendCommand(33, static_cast<long>(reinterpret_cast<intptr_t>(&equal)), 0),
              HOSTRES_OK);
    EXPECT_TRUE(equal);
    ASSERT_EQ(Manager().SendCommand(31, 0, 0), HOSTRES_OK);
    EXPECT_EQ(Instruction(9), "ADD 110 111 112");
    EXPECT_EQ(Instruction(10), "END 0 0");
    EXPECT_EQ(Instruction(11), "");
    equal = 0;
    ASSERT_EQ(Manager().SendCommand(33, static_cast<long>(reinterpret_cast<intptr_t>(&equal)), 0),
              HOSTRES_OK);
    EXPECT_TRUE(equal);
}

TEST_F(SampleDownloadTest, SaveClosesTheConnectionItFoundAndKeepsTheOneItOpened)
{
    OpenSample("Samples/TK40.dat");
    ASSERT_EQ(Manager().Connect(""), 0);
    WithSaveAndDownload([](CDlgSaveAndDownload& save) { Press(save, {IDC_SAVE_PARAMS}, IDC_SAVE); });
    EXPECT_FALSE(Manager().IsConnected()) << "pressed while connected: disconnected afterwards";

    WithSaveAndDownload([](CDlgSaveAndDownload& save) { Press(save, {IDC_SAVE_PARAMS}, IDC_SAVE); });
    EXPECT_TRUE(Manager().IsConnected()) << "the connection the button opened stays";
}

} // namespace
