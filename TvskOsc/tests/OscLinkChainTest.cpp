// The scope's host sequences end to end: the real manager, the protocol object, Porthaven and drivesim
// sending its sample stream.
#include <TvskOsc/model/OscLink.h>

#include <Tarveskon/TvskHostUi.h>
#include <Tarveskon/TvskManager.h>
#include <Tarveskon/TvskStrings.h>
#include <protocol/tests/DriveChain.h>
#include <registry/Profile.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace
{
class OscLinkChainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chain =
            std::make_unique<CDriveChain>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
        char pattern[] = "/tmp/tvsk-osc-XXXXXX";
        dir = ::mkdtemp(pattern);
        std::filesystem::copy(TVSK_SAMPLE_DATA_DIR, dir, std::filesystem::copy_options::recursive);
        manager = std::make_unique<CTvskManager>(dir.c_str());
        manager->SetHostUi(&ui);
        ASSERT_EQ(manager->OpenFile((dir + "/Samples/TK20.dat").c_str()), 0);
    }
    void TearDown() override
    {
        manager.reset();
        chain->StopDrive();
        chain.reset();
        std::filesystem::remove_all(dir);
    }
    void Connect(int baud)
    {
        ASSERT_TRUE(chain->StartDrive({"--line", std::to_string(baud) + ",E,8,1"})) << chain->Error();
        const std::string settings = "VrnSer:0," + std::to_string(kPatientReplyTimeOut) +
                                     "#COM:" + std::to_string(CDriveChain::Port) + "," +
                                     std::to_string(baud) + ",E,8,1";
        manager->ParDb().SetCommSettings(settings.c_str());
        ASSERT_EQ(manager->Connect(""), 0);
    }

    std::unique_ptr<CDriveChain> chain;
    std::string dir;
    CTvskHeadlessUi ui;
    std::unique_ptr<CTvskManager> manager;
};
} // namespace

TEST_F(OscLinkChainTest, ABaudRateBelowTheMinimumDoesNotStart)
{
    Connect(9600);
    COscLink link(manager.get());
    int minimum = 0;
    EXPECT_EQ(link.Start(true, minimum), OSC_BAUD_TOO_LOW);
    EXPECT_EQ(minimum, 19200);
}

TEST_F(OscLinkChainTest, OneSecondOfStreamGivesAboutTwoHundredFortyFourSamples)
{
    Connect(38400);
    COscLink link(manager.get());
    link.ReadMode();
    EXPECT_EQ(link.StreamBit(), 0xB002A);
    int minimum = 0;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(link.Start(false, minimum), OSC_STARTED);
    COscFrameDecoder decoder;
    decoder.Reset();
    COscAcquisition acquisition;
    acquisition.Start();
    // A second of stream at least, until the frames have come (a loaded machine may take longer).
    int frames = 0;
    const auto limit = started + std::chrono::seconds(60);
    while ((std::chrono::steady_clock::now() - started < std::chrono::seconds(1) || frames <= 180) &&
           std::chrono::steady_clock::now() < limit)
    {
        frames += link.ReadFrames(decoder, acquisition);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto ran = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started);
    link.Stop();
    EXPECT_GT(frames, 180);
    // Never more frames than the drive sends in the time the stream really ran.
    EXPECT_LE(frames, static_cast<int>(ran.count() / COscAcquisition::kSamplePeriodMs) + 2)
        << "in " << ran.count() << " ms";
    EXPECT_DOUBLE_EQ(decoder.Values().ch1, 8 * COscFrameDecoder::kSpeedScale);

    // The stream is off: an ordinary write is answered again.
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R8;
    value.dblVal = 3;
    EXPECT_EQ(manager->SetParValue("Pr33", value, TRUE), HOSTRES_OK);
}

TEST_F(OscLinkChainTest, TheExtendedModeIsWrittenToTheModeParameter)
{
    Connect(38400);
    COscLink link(manager.get());
    ASSERT_EQ(link.ReadMode(), 0);
    EXPECT_TRUE(link.WriteMode(1, false));
    EXPECT_EQ(link.Mode(), 1);
    double word = -1;
    ASSERT_EQ(manager->SendCommand(14, (16L << 16) + 90, reinterpret_cast<long>(&word)), 0);
    EXPECT_EQ(word, 1);
    EXPECT_FALSE(link.WriteMode(1, false)); // already in it
}
