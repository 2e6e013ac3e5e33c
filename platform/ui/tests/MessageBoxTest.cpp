// Message boxes go through the sink; without one on a headless display nothing blocks.
#include <ui/Ui.h>

#include <testing/TestApplication.h>

#include <gtest/gtest.h>

namespace
{
// This program's application object, which main makes.
const tvsk::test::TestApplication g_app("UiTests", "MurnApps");

class AnsweringSink : public CMessageBoxSink
{
public:
    int Show(CWnd* owner, const CString& text, const CString& caption, UINT type) override
    {
        lastOwner = owner;
        lastText = text;
        lastCaption = caption;
        lastType = type;
        ++calls;
        return answer;
    }
    CWnd* lastOwner = nullptr;
    CString lastText;
    CString lastCaption;
    UINT lastType = 0;
    int calls = 0;
    int answer = IDYES;
};

class MessageBoxSinkTest : public ::testing::Test
{
protected:
    void SetUp() override { previous = AfxSetMessageBoxSink(&sink); }
    void TearDown() override { AfxSetMessageBoxSink(previous); }
    AnsweringSink sink;
    CMessageBoxSink* previous = nullptr;
};

TEST_F(MessageBoxSinkTest, WindowBoxReachesTheSinkWithItsOwnerAndAnswers)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    sink.answer = IDNO;
    EXPECT_EQ(owner.MessageBox("Save?", "Question", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(sink.lastOwner, &owner);
    EXPECT_EQ(sink.lastText, CString("Save?"));
    EXPECT_EQ(sink.lastCaption, CString("Question"));
    EXPECT_EQ(sink.lastType, MB_YESNO | MB_ICONQUESTION);
}

TEST_F(MessageBoxSinkTest, ApplicationBoxIsTitledWithTheApplicationsName)
{
    EXPECT_EQ(AfxMessageBox("Done", MB_OK), IDYES);
    EXPECT_EQ(sink.lastCaption, CString("UiTests"));
    EXPECT_EQ(sink.calls, 1);
}

TEST(MessageBoxHeadless, DesktopSinkAnswersTheDefaultButtonWithoutBlocking)
{
    ASSERT_EQ(AfxSetMessageBoxSink(nullptr), nullptr);
    EXPECT_EQ(AfxMessageBox("headless", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(AfxMessageBox("headless", MB_OKCANCEL), IDOK);
    EXPECT_EQ(DefaultMessageBoxAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
}

} // namespace
