// Config through the dialog hook: what the dialog sees, what OK changes, the reopen, autodetect's scan.
#include "VrnSerTestFixture.h"

#include <thread>

using namespace tvsk::com;

namespace
{
// Stands in for the window library's dialog: records what it was shown and applies an edit.
class CFakeConfigDialog : public CConfigDialog
{
public:
    bool Edit(CDriveSettings& settings, CAutodetectTarget& target) override
    {
        shown = settings;
        portWasOpen = target.PortOpen();
        if (edit)
            edit(settings);
        return ok;
    }
    bool ok = true;
    std::function<void(CDriveSettings&)> edit;
    CDriveSettings shown;
    bool portWasOpen = false;
};
} // namespace

class VrnSerConfigTest : public VrnSerFixture
{
protected:
    void SetUp() override { previous = SetVrnSerConfigDialog(&dialog); }
    void TearDown() override { SetVrnSerConfigDialog(previous); }
    std::string ConfString()
    {
        BSTR text = nullptr;
        EXPECT_EQ(vrnser->get_ConfString(&text), S_OK);
        std::string result = Utf8FromBstr(text);
        SysFreeString(text);
        return result;
    }
    LONG Active()
    {
        LONG active = 0;
        vrnser->get_Active(&active);
        return active;
    }

    CFakeConfigDialog dialog;
    CConfigDialog* previous = nullptr;
};

TEST_F(VrnSerConfigTest, WithoutADialogConfigIsNotImplementedAndChangesNothing)
{
    SetVrnSerConfigDialog(nullptr);
    ASSERT_EQ(Init("VrnSer:3,200#COM:2,19200,E,8,1"), S_OK);
    EXPECT_EQ(vrnser->Config(), E_NOTIMPL);
    EXPECT_EQ(ConfString(), "VrnSer:3,200#COM:2,19200,E,8,1");
}

TEST_F(VrnSerConfigTest, AModemPortIsShownPlainAndOkStoresItWithTheEscapedNumberAndReopens)
{
    ASSERT_EQ(Init("VrnSer:0,200#MODEM:2,9600,E,8,1,12_34"), S_OK);
    dialog.edit = [](CDriveSettings& settings)
    {
        settings.portCode = 7;
        settings.dialNumber = "55,\"6\";7";
        settings.address = 4;
    };
    ASSERT_EQ(vrnser->Config(), S_OK);
    EXPECT_EQ(dialog.shown.portCode, 6u);
    EXPECT_EQ(dialog.shown.dialNumber, "12,34");
    EXPECT_TRUE(dialog.portWasOpen);
    EXPECT_EQ(ConfString(), "VrnSer:4,200#MODEM:3,9600,E,8,1,55_^6^-7");
    EXPECT_EQ(Port().openText, "MODEM:3,9600,E,8,1,55_^6^-7") << "the open port was reopened";
    EXPECT_EQ(Active(), 1);
}

TEST_F(VrnSerConfigTest, CancelChangesNothingAndAFailedReopenLeavesThePortClosed)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    dialog.ok = false;
    dialog.edit = [](CDriveSettings& settings) { settings.portCode = 9; };
    ASSERT_EQ(vrnser->Config(), S_OK);
    EXPECT_EQ(ConfString(), "VrnSer:0,200#COM:1,9600,E,8,1");

    dialog.ok = true;
    ports.opens = false;
    EXPECT_EQ(vrnser->Config(), VRNSER_E_OPEN_FAILED);
    EXPECT_EQ(Active(), 0);
    SHORT code = 0;
    vrnser->get_ErrorCode(&code);
    EXPECT_EQ(code, DLE_OPEN_FAILED);
}

TEST_F(VrnSerConfigTest, AutodetectReportsEachFindAndPutsTheSettingsBack)
{
    ASSERT_EQ(Init("VrnSer:9,700#COM:1,38400,E,8,1"), S_OK);
    LONG messagesBefore = 0;
    vrnser->get_MsgOn(&messagesBefore);
    CAutodetectState state;
    state.running = true;
    std::vector<SHORT> finds;
    auto& target = static_cast<CAutodetectTarget&>(*static_cast<CVrnSer*>(vrnser.Get()));
    std::thread worker([&] { target.Autodetect(6, 1, state); });
    // The user goes on after the first drive and stops at the second.
    while (!state.done)
    {
        if (state.found)
        {
            finds.push_back(state.address);
            EXPECT_EQ(state.baudRate, 9600u);
            if (finds.size() == 2)
                state.running = false;
            state.found = false;
        }
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_EQ(finds, (std::vector<SHORT>{0, 3})) << "the drives at addresses 0 and 3";
    EXPECT_FALSE(state.running);
    EXPECT_EQ(ConfString(), "VrnSer:9,700#COM:1,38400,E,8,1");
    EXPECT_EQ(Active(), 0) << "autodetect leaves the port closed";
    LONG messages = 0;
    vrnser->get_MsgOn(&messages);
    EXPECT_EQ(messages, messagesBefore) << "the scan's silence ends with it";
}
