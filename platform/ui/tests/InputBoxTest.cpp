#include <ui/InputBox.h>

#include <gtest/gtest.h>

namespace
{

class Answering : public CInputBoxSink
{
public:
    bool Prompt(CWnd*, const CString& prompt, const CString& caption, CString& text) override
    {
        asked = std::string(caption.GetString()) + "|" + prompt.GetString() + "|" + text.GetString();
        text = "typed";
        return true;
    }
    std::string asked;
};

TEST(InputBox, TheInstalledSinkAnswers)
{
    Answering sink;
    CInputBoxSink* previous = AfxSetInputBoxSink(&sink);
    CString text = "proposal";
    EXPECT_TRUE(AfxInputBox(nullptr, "Name?", "Title", text));
    EXPECT_EQ(sink.asked, "Title|Name?|proposal");
    EXPECT_STREQ(text.GetString(), "typed");
    AfxSetInputBoxSink(previous);
}

TEST(InputBox, WithoutADisplayThePromptIsCancelled)
{
    CString text = "kept";
    EXPECT_FALSE(AfxInputBox(nullptr, "Name?", "Title", text));
    EXPECT_STREQ(text.GetString(), "kept");
}

} // namespace
