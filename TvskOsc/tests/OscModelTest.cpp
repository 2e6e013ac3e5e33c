#include <TvskOsc/model/OscAcquisition.h>
#include <TvskOsc/model/OscCaptureFile.h>
#include <TvskOsc/model/OscFrameDecoder.h>
#include <TvskOsc/model/OscSettings.h>

#include <registry/Profile.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
// Feeds bytes one call at a time as the stream delivers them; answers the frames completed.
int Feed(COscFrameDecoder& decoder, const std::vector<unsigned char>& bytes)
{
    int frames = 0;
    size_t at = 0;
    while (at < bytes.size())
    {
        const int n = std::min<int>(decoder.Wanted(), static_cast<int>(bytes.size() - at));
        std::memcpy(decoder.FillPosition(), bytes.data() + at, static_cast<size_t>(n));
        at += static_cast<size_t>(n);
        frames += decoder.BytesArrived(n) ? 1 : 0;
    }
    return frames;
}

// A frame of counter c and 12-bit value v with the digital inputs, sync word first.
std::vector<unsigned char> Frame(int c, int v, int din0 = 0, int din1 = 0)
{
    const uint16_t sync = static_cast<uint16_t>(((c & 0x7FFF) << 1) | 1);
    const int raw = v & 0xFFF;
    const uint16_t data =
        static_cast<uint16_t>(((raw & 0xF80) << 2) | ((raw & 0x7F) << 1) | (din0 << 14) | (din1 << 15));
    return {static_cast<unsigned char>(sync), static_cast<unsigned char>(sync >> 8),
            static_cast<unsigned char>(data), static_cast<unsigned char>(data >> 8)};
}
} // namespace

TEST(OscFrameDecoderTest, AcceptsEitherWordOrder)
{
    for (const auto& bytes : {std::vector<unsigned char>{0x03, 0x00, 0x02, 0x40},
                              std::vector<unsigned char>{0x02, 0x40, 0x03, 0x00}})
    {
        COscFrameDecoder decoder;
        decoder.Reset();
        decoder.SetExtended(true);
        ASSERT_EQ(Feed(decoder, bytes), 1);
        EXPECT_EQ(decoder.Values().ch1, 1); // counter
        EXPECT_EQ(decoder.Values().ch2, 1); // 12-bit value
        EXPECT_EQ(decoder.Values().din0, 1);
        EXPECT_EQ(decoder.Values().din1, 0);
    }
}

TEST(OscFrameDecoderTest, SpeedWrapsThroughTheCounterRange)
{
    COscFrameDecoder decoder;
    decoder.Reset();
    std::vector<unsigned char> bytes = Frame(16380, 0);
    ASSERT_EQ(Feed(decoder, bytes), 1);
    EXPECT_EQ(decoder.Values().ch1, 0.0); // first frame of a recording
    ASSERT_EQ(Feed(decoder, Frame(-16380, 0)), 1);
    EXPECT_DOUBLE_EQ(decoder.Values().ch1, 8 * COscFrameDecoder::kSpeedScale);
    ASSERT_EQ(Feed(decoder, Frame(-16370, -100)), 1);
    EXPECT_DOUBLE_EQ(decoder.Values().ch1, 10 * COscFrameDecoder::kSpeedScale);
    EXPECT_DOUBLE_EQ(decoder.Values().ch2, -100 * 0.2);
}

TEST(OscFrameDecoderTest, ABadFrameCostsOneByte)
{
    COscFrameDecoder decoder;
    decoder.Reset();
    decoder.SetExtended(true);
    std::vector<unsigned char> bytes = {0x00};
    const auto good = Frame(5, 7);
    bytes.insert(bytes.end(), good.begin(), good.end());
    EXPECT_EQ(Feed(decoder, bytes), 1);
    EXPECT_EQ(decoder.Values().ch1, 5);
    EXPECT_EQ(decoder.Values().ch2, 7);
}

TEST(OscFrameDecoderTest, PartialReadsAndFailuresKeepTheFrameTogether)
{
    COscFrameDecoder decoder;
    decoder.Reset();
    decoder.SetExtended(true);
    const auto frame = Frame(3, 4);
    std::memcpy(decoder.FillPosition(), frame.data(), 1);
    EXPECT_FALSE(decoder.BytesArrived(1));
    EXPECT_EQ(decoder.Wanted(), 3);
    EXPECT_FALSE(decoder.BytesArrived(-1)); // a failed read is no bytes
    EXPECT_EQ(decoder.Wanted(), 3);
    std::memcpy(decoder.FillPosition(), frame.data() + 1, 3);
    EXPECT_TRUE(decoder.BytesArrived(3));
    EXPECT_EQ(decoder.Values().ch1, 3);
}

TEST(OscFrameDecoderTest, SkippedSamplesKeepTheValues)
{
    COscFrameDecoder decoder;
    decoder.Reset();
    decoder.SetExtended(true);
    Feed(decoder, Frame(1, 10));
    decoder.SkipSamples(3);
    Feed(decoder, Frame(2, 20));
    Feed(decoder, Frame(3, 30));
    Feed(decoder, Frame(4, 40));
    EXPECT_EQ(decoder.Values().ch2, 10);
    Feed(decoder, Frame(5, 50));
    EXPECT_EQ(decoder.Values().ch2, 50);
}

TEST(OscAcquisitionTest, BuffersWrapAndSendAcrossTheEnd)
{
    COscChannelBuffer buffer;
    for (int i = 0; i < 14990; ++i)
        buffer.Push(i);
    int sent = 0;
    buffer.SendNew([&](const double*, int n) { sent += n; });
    EXPECT_EQ(sent, 14990);
    for (int i = 0; i < 20; ++i)
        buffer.Push(i);
    std::vector<int> runs;
    buffer.SendNew(
        [&](const double* p, int n)
        {
            runs.push_back(n);
            EXPECT_EQ(p[0], runs.size() == 1 ? 0.0 : 10.0);
        });
    EXPECT_EQ(runs, (std::vector<int>{10, 10}));
    for (int i = 0; i < COscChannelBuffer::kSize + 5; ++i) // overrun: the oldest unsent go
        buffer.Push(1);
    EXPECT_EQ((buffer.SentIndex() + COscChannelBuffer::kSize - 1) % COscChannelBuffer::kSize,
              buffer.WriteIndex());
}

TEST(OscAcquisitionTest, TheThreeEdges)
{
    struct Row
    {
        int edge;
        std::vector<double> values;
        bool fires;
    };
    const Row rows[] = {{OSC_EDGE_POSITIVE, {-1, 1}, true},   {OSC_EDGE_POSITIVE, {1, -1}, false},
                        {OSC_EDGE_NEGATIVE, {1, -1}, true},   {OSC_EDGE_NEGATIVE, {-1, 1}, false},
                        {OSC_EDGE_BOTH, {-1, 1}, true},       {OSC_EDGE_BOTH, {1, -1}, true},
                        {OSC_EDGE_POSITIVE, {0, 0.5}, false}, {OSC_EDGE_POSITIVE, {-0.5, 0}, true}};
    for (const Row& row : rows)
    {
        COscAcquisition acquisition;
        acquisition.SetMode(OSC_TRIG_NORMAL);
        acquisition.SetEdge(row.edge);
        acquisition.Arm(1, 0);
        acquisition.Start();
        for (double v : row.values)
            acquisition.AddFrame({v, 0, 0, 0});
        EXPECT_EQ(acquisition.IsTriggered(), row.fires) << row.edge << " " << row.values[0];
    }
}

TEST(OscAcquisitionTest, ACaptureCompletesAfterThePostTriggerTarget)
{
    COscAcquisition acquisition;
    acquisition.SetMode(OSC_TRIG_SINGLE);
    acquisition.SetSource(2); // DIn0
    acquisition.SetLevel(0.5);
    acquisition.Arm(100, 500);
    EXPECT_EQ(acquisition.PostTriggerTarget(), 245); // 100 x 10 x 0.244140625 + 1
    EXPECT_EQ(acquisition.PreTriggerLength(), 122);
    acquisition.Start();
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(acquisition.AddFrame({0, 0, 0, 0}));
    EXPECT_FALSE(acquisition.TakeCapture());
    acquisition.AddFrame({0, 0, 1, 0});
    ASSERT_TRUE(acquisition.IsTriggered());
    EXPECT_DOUBLE_EQ(acquisition.TriggerTimeMs(), 10 * 4.096);
    int frames = 0;
    while (!acquisition.AddFrame({0, 0, 1, 0}))
        ++frames;
    EXPECT_EQ(frames + 1, 245);
    EXPECT_TRUE(acquisition.TakeCapture());
    EXPECT_EQ(acquisition.Acquisitions(), 1);
    EXPECT_FALSE(acquisition.IsTriggered());
}

TEST(OscSettingsTest, ValuesBeyondTheirLimitsReadAsDefaults)
{
    const std::string store =
        std::filesystem::temp_directory_path() / ("osc-registry-" + std::to_string(getpid()));
    setenv("TARVESKON_REGISTRY", store.c_str(), 1);
    CProfile& profile = CProfile::Instance();
    profile.SetRegistryKey("MurnApps");
    profile.SetAppName("OscTest");
    profile.WriteProfileString("Oscilloscope", "Track1Min", "2000000");
    profile.WriteProfileString("Oscilloscope", "Track2Max", "250");
    profile.WriteProfileString("Oscilloscope", "HorzDiv", "0");
    profile.WriteProfileString("Oscilloscope", "Track3TrgPos", "-40000");
    profile.WriteProfileString("Oscilloscope", "Track4TrgLev", "5000000");
    COscSettings settings;
    settings.Load(profile);
    EXPECT_EQ(settings.m_Ranges[0].dMin, -3750);
    EXPECT_EQ(settings.m_Ranges[0].dMax, 3750);
    EXPECT_EQ(settings.m_Ranges[1].dMax, 250);
    EXPECT_EQ(settings.m_dHorzDiv, 100);
    EXPECT_EQ(settings.m_TrgPos[2], 500);
    EXPECT_EQ(settings.m_TrgLev[3], 0);
    EXPECT_EQ(settings.m_TrgLev[2], 0.5);
    settings.m_Ranges[2] = {-7.5, 7.5};
    settings.SaveRanges(profile);
    EXPECT_EQ(profile.GetProfileString("Oscilloscope", "Track3Min"), "-7.5");
    std::array<CString, 8> names{"Pr1", "Pr33"};
    COscSettings::SaveParameterNames(profile, names);
    EXPECT_EQ(COscSettings::LoadParameterNames(profile)[1], "Pr33");
    std::filesystem::remove(store);
}

TEST(OscSettingsTest, StepsFollowOneTwoFive)
{
    EXPECT_EQ(OscStep125(5, false), 2);
    EXPECT_EQ(OscStep125(2, false), 1);
    EXPECT_EQ(OscStep125(1, false), 0.5);
    EXPECT_EQ(OscStep125(1, true), 2);
    EXPECT_EQ(OscStep125(2, true), 5);
    EXPECT_EQ(OscStep125(5, true), 10);
    EXPECT_EQ(OscStep125(100, false), 50);
    EXPECT_NEAR(OscStep125(0.2, true), 0.5, 1e-12);
    EXPECT_EQ(OscStep125(-2, true), -1);
}

TEST(OscSettingsTest, RmsSkipsEmptyMarksAndRefusesBadPositions)
{
    const double samples[] = {3, COscSettings::kEmptyMark, -4, 0};
    double rms = 0;
    ASSERT_TRUE(OscRms(samples, 4, 0, 2, rms));
    EXPECT_DOUBLE_EQ(rms, std::sqrt(12.5));
    ASSERT_TRUE(OscRms(samples, 4, 2, 0, rms));
    EXPECT_FALSE(OscRms(samples, 4, 1, 1, rms));
    EXPECT_FALSE(OscRms(samples, 4, 0, 4, rms));
    EXPECT_FALSE(OscRms(samples, 4, -1, 2, rms));
    const double empty[] = {COscSettings::kEmptyMark, COscSettings::kEmptyMark};
    EXPECT_FALSE(OscRms(empty, 2, 0, 1, rms));
}

class OscCaptureFileTest : public ::testing::Test
{
protected:
    std::string Write(const std::string& name, const std::string& text)
    {
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    void SetUp() override { std::filesystem::create_directories(m_dir); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path m_dir =
        std::filesystem::temp_directory_path() / ("osc-capture-" + std::to_string(getpid()));
};

TEST_F(OscCaptureFileTest, SavedCaptureGivesOnlyTheSampleLines)
{
    // Four trace lines after the header and caption: none of them is taken for a sample.
    const std::string path = Write("capture.txt", "ZO_OSC\t10\t4\r\ntime\t...\r\n"
                                                  "Speed\trpm\r\nCurrent\tA\r\nDIn0\t...\r\nDIn1\t...\r\n"
                                                  "0.000000\t1.500000\t-2.000000\t0.000000\t1.000000\r\n"
                                                  "4.000000\t3.250000\t-4.000000\t1.000000\t0.000000\r\n");
    OscCaptureValues values;
    ASSERT_TRUE(ReadOscCapture(path, values));
    EXPECT_EQ(values[0], (std::vector<double>{1.5, 3.25}));
    EXPECT_EQ(values[1], (std::vector<double>{-2.0, -4.0}));
    EXPECT_EQ(values[2], (std::vector<double>{0.0, 1.0}));
    EXPECT_EQ(values[3], (std::vector<double>{1.0, 0.0}));

    // Names holding digits and spaces stay trace lines.
    const std::string named =
        Write("named.txt", "ZO_OSC\t11\t4\ntime\t...\n1 2\t3\n4 5\t6\n7\t8\n9\t10\n\n0\t5\t6\t7\t8\t9\n");
    ASSERT_TRUE(ReadOscCapture(named, values));
    EXPECT_EQ(values[0], (std::vector<double>{5.0}));
    EXPECT_EQ(values[3], (std::vector<double>{8.0}));
}

TEST_F(OscCaptureFileTest, DamagedOrCutFilesAreRefusedWhole)
{
    const std::string head =
        "ZO_OSC\t10\t4\r\ntime\t...\r\nA\t1\r\nB\t2\r\nC\t3\r\nD\t4\r\n0\t1\t2\t3\t4\r\n";
    OscCaptureValues values;
    for (const std::string& tail :
         {std::string("1\t2\t3\r\n"), std::string("0\t1\t2\tx\t4\r\n"), std::string("0\t1\t2\tnan\t4\r\n"),
          std::string("1\t5\t6\t7\t8"), std::string("1\t5\t6\t7\t81\r")})
    {
        EXPECT_FALSE(ReadOscCapture(Write("bad.txt", head + tail), values)) << tail;
        EXPECT_TRUE(values[0].empty());
    }
    EXPECT_FALSE(ReadOscCapture(Write("headless.txt", "0\t1\t2\t3\t4\r\n0\t1\t2\t3\t4\r\n"), values));
    EXPECT_TRUE(ReadOscCapture(Write("good.txt", head), values));
}

TEST_F(OscCaptureFileTest, ACaptureLargerThanAnyTheProgramWritesIsRefusedBeforeItIsRead)
{
    const std::string path =
        Write("large.txt", "ZO_OSC\t10\t4\r\ntime\t...\r\nA\t1\r\nB\t2\r\nC\t3\r\nD\t4\r\n0\t1\t2\t3\t4\r\n");
    std::filesystem::resize_file(path, 100u << 20); // sparse: a last line of zeros, 100 MB long
    OscCaptureValues values;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ReadOscCapture(path, values));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_TRUE(values[0].empty());
}

TEST_F(OscCaptureFileTest, FilesWithoutSamplesAreRefused)
{
    OscCaptureValues values;
    EXPECT_FALSE(ReadOscCapture((m_dir / "absent.txt").string(), values));
    EXPECT_FALSE(ReadOscCapture(Write("empty.txt", ""), values));
    EXPECT_FALSE(ReadOscCapture(
        Write("names.txt", "ZO_OSC\t10\t4\r\ntime\t...\r\nA\t1\r\nB\t2\r\nC\t3\r\nD\t4\r\n"), values));
    EXPECT_FALSE(ReadOscCapture(
        Write("text.txt", "not\ta\tcapture\r\nat\tall\r\none\ttwo\tthree\tfour\tfive\r\n"), values));
    for (const std::vector<double>& channel : values)
        EXPECT_TRUE(channel.empty());
}

TEST_F(OscCaptureFileTest, EveryPrefixOfTheSampleCaptureFailsOrGivesItsWholeLines)
{
    std::ifstream in(std::string(TVSK_SAMPLE_DATA_DIR) + "/Samples/OscCapture.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(text.size(), 4000u);
    int opened = 0;
    for (size_t length = 0; length < text.size(); length += length < 1200 ? 1 : 997)
    {
        const std::string prefix = text.substr(0, length);
        OscCaptureValues cut;
        if (!ReadOscCapture(Write("cut.txt", prefix), cut))
            continue;
        ++opened;
        OscCaptureValues whole;
        ASSERT_TRUE(ReadOscCapture(Write("whole.txt", prefix.substr(0, prefix.rfind('\n') + 1)), whole));
        ASSERT_EQ(cut, whole) << "prefix of " << length << " bytes";
    }
    EXPECT_GT(opened, 0);
}
