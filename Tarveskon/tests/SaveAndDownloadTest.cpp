// The download-and-save and versions dialogs over the main dialog's manager.
#include "DialogFixture.h"

#include <Tarveskon/DlgSaveAndDownload.h>
#include <Tarveskon/DlgVersions.h>

#include <ui/Controls.h>

#include <QApplication>
#include <QTimer>

namespace
{

class SaveAndDownloadTest : public tvsk::testing::DialogFixture
{
protected:
    static bool Enabled(CWnd& dlg, UINT id) { return dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE; }
    static void Click(CWnd& dlg, UINT id, bool check)
    {
        static_cast<CButton*>(dlg.GetDlgItem(id))->SetCheck(check ? BST_CHECKED : 0);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
    static std::string Text(CWnd& dlg, UINT id) { return dlg.GetDlgItem(id)->GetWindowText().str(); }
    // The modal dialog of the given class, when one is up.
    template <class Dialog> static Dialog* Modal()
    {
        QWidget* modal = QApplication::activeModalWidget();
        return modal ? dynamic_cast<Dialog*>(CWnd::FromWidget(modal)) : nullptr;
    }
};

TEST_F(SaveAndDownloadTest, NoBoxCheckedLeavesBothButtonsOff)
{
    CDlgSaveAndDownload save(dialog.get());
    save.SetHost(&dialog->Manager());
    ASSERT_TRUE(save.Create(IDD_SAVE_AND_DOWNLOAD, dialog.get()));
    EXPECT_EQ(save.GetWindowText().str(), "Invia e salva");
    EXPECT_FALSE(Enabled(save, IDC_DOWNLOAD));
    EXPECT_FALSE(Enabled(save, IDC_SAVE));
    Click(save, IDC_DOWNLOAD_CAMS, true);
    EXPECT_TRUE(Enabled(save, IDC_DOWNLOAD));
    EXPECT_FALSE(Enabled(save, IDC_SAVE));
    Click(save, IDC_SAVE_PLC, true);
    EXPECT_TRUE(Enabled(save, IDC_SAVE));
    Click(save, IDC_DOWNLOAD_CAMS, false);
    Click(save, IDC_SAVE_PLC, false);
    EXPECT_FALSE(Enabled(save, IDC_DOWNLOAD));
    EXPECT_FALSE(Enabled(save, IDC_SAVE));
    save.DestroyWindow();
}

TEST_F(SaveAndDownloadTest, EscapeKeepsTheDialogAndCloseEndsIt)
{
    CDlgSaveAndDownload save(dialog.get());
    save.SetHost(&dialog->Manager());
    bool visibleAfterEscape = false;
    QTimer::singleShot(100,
                       [&]
                       {
                           QTest::keyClick(save.GetWidget(), Qt::Key_Escape);
                           QTest::qWait(50);
                           visibleAfterEscape = save.IsWindowVisible() != FALSE;
                           save.SendMessage(WM_COMMAND, IDOK, 0);
                       });
    EXPECT_EQ(save.DoModal(), IDOK);
    EXPECT_TRUE(visibleAfterEscape);
}

// Without a drive the connection fails: 2065, nothing sent, still disconnected.
TEST_F(SaveAndDownloadTest, DownloadWithoutADriveTells2065AndStaysDisconnected)
{
    CDlgSaveAndDownload save(dialog.get());
    save.SetHost(&dialog->Manager());
    ASSERT_TRUE(save.Create(IDD_SAVE_AND_DOWNLOAD, dialog.get()));
    Click(save, IDC_DOWNLOAD_PARAMS, true);
    save.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD, BN_CLICKED), 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Errore di comunicazione con il drive");
    EXPECT_EQ(boxes.types[0], static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(dialog->Manager().IsConnected());
    EXPECT_TRUE(Enabled(save, IDC_DOWNLOAD)) << "the choice is kept for another try";
    save.DestroyWindow();
}

TEST_F(SaveAndDownloadTest, TheVersionRowsComeFromTheManager)
{
    CDlgVersions versions(dialog.get());
    versions.SetHost(&dialog->Manager());
    ASSERT_TRUE(versions.Create(IDD_VERSIONS, dialog.get()));
    CTvskManager& manager = dialog->Manager();
    EXPECT_EQ(versions.GetWindowText().str(), "Versioni");
    EXPECT_EQ(Text(versions, 1002), "Tarveskon");
    EXPECT_EQ(Text(versions, 1010), "Pagine");
    EXPECT_EQ(Text(versions, 1018), "Installati");
    EXPECT_EQ(Text(versions, 1012), "Release " + manager.GetReleaseVersion(6).str());
    const std::pair<UINT, int> installed[] = {{1013, 1}, {1014, 2}, {1015, 3}, {1016, 4}, {1017, 5}};
    for (const auto& [id, entry] : installed)
        EXPECT_EQ(Text(versions, id), manager.GetReleaseVersion(entry).str()) << id;
    const std::pair<UINT, int> inUse[] = {{1006, 1}, {1007, 2}, {1008, 3}, {1009, 4}, {1011, 5}};
    for (const auto& [id, entry] : inUse)
        EXPECT_EQ(Text(versions, id), manager.GetVersionString(entry).str()) << id;
    EXPECT_NE(Text(versions, 1013), "n/a") << "the program folder's Versions.txt names the release";
    versions.DestroyWindow();
}

// The installed column reads the program folder's Versions.txt, the in-use column the open file's.
TEST_F(SaveAndDownloadTest, TheVersionRowsShowTheVersionsFile)
{
    folder.Replace("Versions.txt", "MOTORS\t\"1.1.0\"", "MOTORS\t\"1.7.3\"");
    folder.Replace("Versions.txt", "PAR\t\"TK20\"\t\"1.0.0\"", "PAR\t\"TK20\"\t\"1.0.9\"");
    folder.Replace("Versions.txt", "PAG\t\"TK20\"\t\"ITA\"\t\"1.0.0\"", "PAG\t\"TK20\"\t\"ITA\"\t\"1.0.4\"");
    OpenSample("Samples/TK20.dat");
    CDlgVersions versions(dialog.get());
    versions.SetHost(&dialog->Manager());
    ASSERT_TRUE(versions.Create(IDD_VERSIONS, dialog.get()));
    EXPECT_EQ(Text(versions, 1012), "Release 2.4");
    EXPECT_EQ(Text(versions, 1013), "2.4.0");
    EXPECT_EQ(Text(versions, 1014), "1.0.9");
    EXPECT_EQ(Text(versions, 1015), "1.7.3");
    EXPECT_EQ(Text(versions, 1016), "1.2.0");
    EXPECT_EQ(Text(versions, 1017), "1.0.4") << "the page row of the drive texts' type and language";
    versions.DestroyWindow();
}

TEST_F(SaveAndDownloadTest, WithoutHostTheTemplatesTextsRemain)
{
    CDlgVersions versions(dialog.get());
    ASSERT_TRUE(versions.Create(IDD_VERSIONS, dialog.get()));
    EXPECT_EQ(Text(versions, 1013), "n/a");
    EXPECT_EQ(Text(versions, 1002), "n/a");
    versions.DestroyWindow();
}

// The page word "Upload" and the system menu's item 32 open the two dialogs.
TEST_F(SaveAndDownloadTest, UploadAndSystemMenu32OpenTheDialogs)
{
    bool saveSeen = false;
    bool versionsSeen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         if (auto* save = Modal<CDlgSaveAndDownload>())
                         {
                             saveSeen = true;
                             save->PostMessage(WM_COMMAND, IDOK, 0);
                         }
                         if (auto* versions = Modal<CDlgVersions>())
                         {
                             versionsSeen = Text(*versions, 1018) == "Installati";
                             versions->PostMessage(WM_COMMAND, IDOK, 0);
                         }
                     });
    poll.start(20);
    dialog->SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("Upload"));
    EXPECT_TRUE(saveSeen);
    dialog->SendMessage(WM_SYSCOMMAND, IDM_VERSIONS, 0);
    EXPECT_TRUE(versionsSeen);
}

} // namespace
