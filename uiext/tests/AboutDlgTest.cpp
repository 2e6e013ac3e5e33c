// About box and version info: version texts, the splash closing by itself.
#include "UiExtTestSupport.h"

#include <uiext/AboutDlg.h>
#include <uiext/VersionInfo.h>

#include <QElapsedTimer>

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include <testing/DialogFit.h>
#include <testing/TestApplication.h>

#include <gtest/gtest.h>

namespace
{
// This program's application object, which main makes.
const tvsk::test::TestApplication g_app("UiExtTests", "MurnApps");
} // namespace

namespace
{

const VersionValue kValues[] = {
    {"FileVersion", "1, 2, 3, 4"},
    {"CompanyName", "MurnApps"},
    {"LegalCopyright", "(c) MurnApps"},
};
const VersionResource kProgram = {"uiext_tests.EXE", 0x0410, 0x04E4, kValues, 3};
const BOOL kRegistered = RegisterVersionResource(&kProgram);

TEST(VersionInfoTest, ValuesOfTheRunningProgramAndEmptyTextsForMissingOnes)
{
    ASSERT_TRUE(kRegistered);
    const VersionInfo program;
    EXPECT_EQ(program.FileVersion(), CString("1, 2, 3, 4"));
    EXPECT_EQ(program.CompanyName(), CString("MurnApps"));
    EXPECT_EQ(program.Translation(), CString("041004e4"));
    EXPECT_EQ(program.ProductName(), CString());
    const VersionInfo unknown("nothing.dll");
    EXPECT_EQ(unknown.FileVersion(), CString());
    EXPECT_EQ(unknown.Translation(), CString());
    EXPECT_EQ(VersionInfo("/opt/x/UIEXT_TESTS.exe").Copyright(), CString("(c) MurnApps"));
}

class InspectedAbout : public CAboutDlg
{
public:
    InspectedAbout() : CAboutDlg(false, 3000) {}
    CString versionText;
    CString databaseText;
    CString linkCaption;
    CString title;

protected:
    BOOL OnInitDialog() override
    {
        CAboutDlg::OnInitDialog();
        versionText = GetDlgItem(IDC_ABOUT_VERSION)->GetWindowText();
        databaseText = GetDlgItem(IDC_ABOUT_DATABASES)->GetWindowText();
        linkCaption = m_wndHyperlink.GetCaption();
        title = GetWindowText();
        PostMessage(WM_COMMAND, IDOK, 0);
        return TRUE;
    }
};

TEST(AboutDlgTest, TextsCarryTheVersionsWithPointsForCommas)
{
    InspectedAbout about;
    about.m_strProductVersion = "2,1";
    about.m_strMotorDbVersion = "7";
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_EQ(about.versionText, CString("Tarveskon version: 2.1   Program version: 1. 2. 3. 4"));
    EXPECT_EQ(about.databaseText, CString("Motor DB version: 7   Drive DB version: n/a"));
    EXPECT_EQ(about.linkCaption, CString("MurnApps"));
    EXPECT_EQ(about.title, CString("UiExtTests"));
}

// Where the box's controls are once it fits the sample picture, in client coordinates.
class MeasuredAbout : public CAboutDlg
{
public:
    MeasuredAbout(bool splash) : CAboutDlg(splash, 3000)
    {
        m_strPicturePath = TVSK_SAMPLE_DATA_DIR "/splash.jpg";
    }
    CRect picture;
    CRect client;
    std::vector<CRect> below;
    std::vector<std::string> cut;

protected:
    BOOL OnInitDialog() override
    {
        CAboutDlg::OnInitDialog();
        const auto place = [this](CWnd* item)
        {
            CRect rect;
            item->GetWindowRect(&rect);
            ScreenToClient(&rect);
            return rect;
        };
        picture = place(&m_wndPicture);
        GetClientRect(&client);
        for (UINT id : kBelowPicture)
            below.push_back(place(GetDlgItem(id)));
        cut = tvsk::testing::CutTexts(*this);
        PostMessage(WM_COMMAND, IDOK, 0);
        return TRUE;
    }
};

// The texts stand whole under the picture on the box's background, centred under it; the box ends
// under OK, the splash right under the picture: it shows the picture alone.
TEST(AboutDlgTest, TextsStandUnderThePictureAndTheBoxEndsUnderThem)
{
    for (const bool splash : {false, true})
    {
        MeasuredAbout about(splash);
        about.m_strProductVersion = "2.4";
        EXPECT_EQ(about.DoModal(), IDOK);
        EXPECT_EQ(about.picture.Width(), 480) << splash;
        EXPECT_EQ(about.picture.Height(), 300) << splash;
        ASSERT_EQ(about.below.size(), std::size(CAboutDlg::kBelowPicture));
        for (const CRect& text : about.below)
        {
            EXPECT_GE(text.top, about.picture.bottom) << splash;
            EXPECT_LE(std::abs((text.left + text.right) - (about.picture.left + about.picture.right)), 10)
                << splash;
        }
        const CRect& ok = about.below.back();
        if (splash)
        {
            EXPECT_GE(about.client.bottom, about.picture.bottom);
            EXPECT_LE(about.client.bottom, about.picture.bottom + 3 + 1);
            EXPECT_LT(about.client.bottom, about.below.front().top) << "no text shows";
            EXPECT_EQ(about.client.Width(), about.picture.Width());
        }
        else
        {
            EXPECT_GE(about.client.bottom, ok.bottom);
            EXPECT_LE(about.client.bottom, ok.bottom + 20);
        }
        EXPECT_EQ(about.cut, std::vector<std::string>{}) << splash;
    }
}

TEST(AboutDlgTest, SplashClosesByItselfAfterItsTime)
{
    CAboutDlg splash(true, 300);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(splash.DoModal(), IDOK);
    EXPECT_GE(timer.elapsed(), 280);
    EXPECT_LT(timer.elapsed(), 5000);
}

} // namespace
