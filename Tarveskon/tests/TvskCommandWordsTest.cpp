#include <Tarveskon/PluginIntf.h>
#include <Tarveskon/TvskCommandWords.h>

#include <com/Variant.h>
#include <ui/UiDefs.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace
{

// A host that records the commands it is sent.
class RecordingHost : public CPluginIntf
{
public:
    long SendCommand(UINT code, long param1, long param2) override
    {
        std::string text = std::to_string(code);
        if (code == 5)
            text += " " + std::string(reinterpret_cast<const char*>(static_cast<std::intptr_t>(param1)));
        else
            text += param1 ? " dialog" : " 0";
        text += " " + std::to_string(param2);
        commands.push_back(text);
        return 0;
    }
    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    BOOL IsConnected() override { return connected; }

    std::vector<std::string> commands;
    BOOL connected = FALSE;
};

class RecordingActions : public CTvskCommandActions
{
public:
    void PostToDialog(UINT message, WPARAM wParam, LPARAM) override
    {
        done.push_back((message == WM_COMMAND ? "command " : "syscommand ") + std::to_string(wParam));
    }
    void ChooseConnection() override { done.push_back("choose connection"); }
    void ConfigConnection() override { done.push_back("config connection"); }
    void Upload() override { done.push_back("upload"); }
    void UploadDrive() override { done.push_back("upload drive"); }
    void UploadMotor() override { done.push_back("upload motor"); }

    std::vector<std::string> done;
};

class TvskCommandWordsTest : public testing::Test
{
protected:
    RecordingHost host;
    RecordingActions actions;
    CWnd* const dialog = reinterpret_cast<CWnd*>(0x4000);
    CTvskCommandWords words{host, actions, dialog};
};

TEST_F(TvskCommandWordsTest, FileWordsPostTheirCommands)
{
    for (const char* word :
         {"NewFile", "OpenFile", "SaveFile", "SaveFileAs", "CloseFile", "PrintFile", "About", "Ok", "Cancel"})
        words.Run(word);
    EXPECT_EQ(actions.done, (std::vector<std::string>{"command 57600", "command 57601", "command 57603",
                                                      "command 57604", "command 57602", "command 57607",
                                                      "syscommand 16", "command 1", "command 2"}));
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(TvskCommandWordsTest, TransferWordsAreHostCommands)
{
    for (const char* word : {"ReadAll", "WriteAll", "CompareWithFile", "CompareWithDrive", "GoOnline",
                             "DownlParams", "DownlPlc", "DownlCams", "SaveParameters", "SavePlc"})
        words.Run(word);
    EXPECT_EQ(host.commands,
              (std::vector<std::string>{"8 0 0", "9 0 0", "34 dialog 0", "35 dialog 0", "36 dialog 0",
                                        "4 0 0", "32 0 0", "37 0 0", "38 0 0", "40 0 0"}));
}

TEST_F(TvskCommandWordsTest, ConnectDisconnectsWhenConnectedElseOffersTheChoice)
{
    words.Run("Connect");
    host.connected = TRUE;
    words.Run("Connect");
    EXPECT_EQ(actions.done, std::vector<std::string>{"choose connection"});
    EXPECT_EQ(host.commands, std::vector<std::string>{"10 0 0"});
}

TEST_F(TvskCommandWordsTest, DialogWordsAndDriveCommands)
{
    for (const char* word : {"ConfigConn", "Upload", "UploadDrive", "UploadMotor"})
        words.Run(word);
    EXPECT_EQ(actions.done,
              (std::vector<std::string>{"config connection", "upload", "upload drive", "upload motor"}));
    words.Run("Reset");
    words.Run("newfile");
    words.Run("12");
    EXPECT_EQ(host.commands, (std::vector<std::string>{"5 Reset 0", "5 newfile 0", "5 12 0"}))
        << "words compare case-sensitively; any other word is a drive command";
}

} // namespace
