#include "ComponentFixture.h"

#include <kernel/Handle.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace tvsk::com;

namespace
{

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

class TrackFileTest : public ComponentFixture
{
protected:
    void SetUp() override
    {
        ComponentFixture::SetUp();
        char dir[] = "/tmp/tvsk-graph-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_dir);
        ComponentFixture::TearDown();
    }

    HRESULT Save(const std::filesystem::path& path)
    {
        BSTR name = BstrFromUtf8(path.string());
        const HRESULT hr = Control()->Save(name);
        SysFreeString(name);
        return hr;
    }
    HRESULT Load(const std::filesystem::path& path)
    {
        BSTR name = BstrFromUtf8(path.string());
        const HRESULT hr = Control()->Load(name);
        SysFreeString(name);
        return hr;
    }
    void MakeTwoTraces()
    {
        AddTrack("A");
        AddTrack("B");
        Control()->Reset();
        BSTR volts = BstrFromUtf8("V");
        BSTR amps = BstrFromUtf8("A");
        Track(0)->put_Um(volts);
        Track(1)->put_Um(amps);
        SysFreeString(volts);
        SysFreeString(amps);
        double a[] = {1.5, 2.5};
        double b[] = {-1, 0.25};
        Track(0)->AddSamples(2, a, nullptr);
        Track(1)->AddSamples(2, b, nullptr);
    }
    LONG Count()
    {
        LONG count = 0;
        Control()->get_TracksNo(&count);
        return count;
    }

    std::filesystem::path m_dir;
};

TEST_F(TrackFileTest, SaveWritesTheFileByteForByte)
{
    MakeTwoTraces();
    ASSERT_EQ(Save(m_dir / "capture.txt"), S_OK);
    EXPECT_EQ(ReadFile(m_dir / "capture.txt"),
              "ZO_OSC\t10\t2\r\ntime\t...\r\nA\tV\r\nB\tA\r\n"
              "0.000000\t1.500000\t-1.000000\r\n1.000000\t2.500000\t0.250000\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);
}

TEST_F(TrackFileTest, WrappedBuffersAreWrittenOldestFirstInSixDecimals)
{
    AddTrack("A");
    AddTrack("B");
    for (int i = 0; i < 2; ++i)
        Track(i)->put_DimBuffer(3);
    double a[] = {9, 9, 1e7, -4e-7, 2.0000005};
    double b[] = {9, 9, -1.25, 123.4567894, -3};
    double t[] = {0, 1, 2.9, 3.5, 4};
    Track(0)->AddSamples(5, a, t);
    Track(1)->AddSamples(5, b, nullptr);
    ASSERT_EQ(Save(m_dir / "wrapped.txt"), S_OK);
    EXPECT_EQ(ReadFile(m_dir / "wrapped.txt"), "ZO_OSC\t10\t2\r\ntime\t...\r\nA\t...\r\nB\t...\r\n"
                                               "2.000000\t10000000.000000\t-1.250000\r\n"
                                               "3.000000\t-0.000000\t123.456789\r\n"
                                               "4.000000\t2.000001\t-3.000000\r\n");
}

TEST_F(TrackFileTest, SaveWithoutTracesWritesNothing)
{
    EXPECT_EQ(Save(m_dir / "none.txt"), S_OK);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "none.txt"));
}

TEST_F(TrackFileTest, FailedSaveKeepsTheOldFile)
{
    MakeTwoTraces();
    EXPECT_EQ(Save(m_dir / "missing" / "capture.txt"), E_FAIL);
    // A name that cannot take the file (a directory) fails and leaves it as it was.
    std::filesystem::create_directory(m_dir / "busy");
    WriteFile(m_dir / "busy" / "keep", "old");
    EXPECT_EQ(Save(m_dir / "busy"), E_FAIL);
    EXPECT_EQ(ReadFile(m_dir / "busy" / "keep"), "old");
}

TEST_F(TrackFileTest, NamesWithTabsAndLineEndsStayOnTheirLine)
{
    AddTrack("a\tb\r\nc");
    Control()->Reset();
    double v = 1;
    Track(0)->AddSamples(1, &v, nullptr);
    ASSERT_EQ(Save(m_dir / "names.txt"), S_OK);
    EXPECT_NE(ReadFile(m_dir / "names.txt").find("\r\na b  c\t...\r\n"), std::string::npos);
}

TEST_F(TrackFileTest, RoundTripKeepsNamesUnitsAndValues)
{
    MakeTwoTraces();
    ASSERT_EQ(Save(m_dir / "capture.txt"), S_OK);
    Control()->RemoveAllTracks();
    ::SetLastError(5);
    ASSERT_EQ(Load(m_dir / "capture.txt"), S_OK);
    EXPECT_EQ(::GetLastError(), 0u);
    ASSERT_EQ(Count(), 2);
    BSTR text = nullptr;
    Track(1)->get_Name(&text);
    EXPECT_EQ(Utf8FromBstr(text), "B");
    SysFreeString(text);
    Track(0)->get_Um(&text);
    EXPECT_EQ(Utf8FromBstr(text), "V");
    SysFreeString(text);
    LONG num = 0, dim = 0;
    Track(1)->get_SamplesNum(&num);
    Track(1)->get_DimBuffer(&dim);
    EXPECT_EQ(num, 2);
    EXPECT_EQ(dim, 2);
    double values[2] = {}, times[2] = {};
    Track(1)->GetSamples(2, 0, values, times);
    EXPECT_EQ(values[0], -1.0);
    EXPECT_EQ(values[1], 0.25);
    EXPECT_EQ(times[1], 1.0);
}

TEST_F(TrackFileTest, VersionElevenLoadsLikeTen)
{
    WriteFile(m_dir / "v11.txt", "ZO_OSC\t11\t2\r\ntime\t...\r\nX\tu\r\nY\tv\r\n3.7\t1\t2\r\n");
    ASSERT_EQ(Load(m_dir / "v11.txt"), S_OK);
    EXPECT_EQ(Count(), 2);
    double time = 0;
    Track(0)->GetSamples(1, 0, nullptr, &time);
    EXPECT_EQ(time, 3.0);
}

TEST_F(TrackFileTest, BadHeadersAreRefusedBeforeAnyTraceGoes)
{
    AddTrack("Keep");
    const char* bad[] = {
        "zo_osc\t10\t1\r\ntime\t...\r\nA\tV\r\n0\t1\r\n",
        "ZO_OSC\t12\t1\r\ntime\t...\r\nA\tV\r\n0\t1\r\n",
        "ZO_OSC\t10\r\n",
        "ZO_OSC\t10\t0\r\ntime\t...\r\n",
        "ZO_OSC\t10\t9\r\ntime\t..."
        "\r\nA\tV\r\nB\tV\r\nC\tV\r\nD\tV\r\nE\tV\r\nF\tV\r\nG\tV\r\nH\tV\r\nI\tV\r\n",
        "ZO_OSC\t10\t3\r\ntime\t...\r\nA\tV\r\n",
        "",
    };
    for (const char* text : bad)
    {
        WriteFile(m_dir / "bad.txt", text);
        ::SetLastError(0);
        EXPECT_EQ(Load(m_dir / "bad.txt"), E_FAIL) << text;
        EXPECT_EQ(::GetLastError(), 0xE0000001u);
        EXPECT_EQ(Count(), 1) << text;
    }
    EXPECT_EQ(Load(m_dir / "absent.txt"), E_FAIL);
    EXPECT_EQ(Load(""), E_FAIL);
    EXPECT_EQ(::GetLastError(), 0xE0000001u);
}

TEST_F(TrackFileTest, ShortSampleLineStopsLoadingAndKeepsEarlierLines)
{
    WriteFile(m_dir / "short.txt",
              "ZO_OSC\t10\t2\r\ntime\t...\r\nA\tV\r\nB\tA\r\n0\t1\t2\r\n1\t3\t4\r\n2\t5\r\n3\t7\t8\r\n");
    EXPECT_EQ(Load(m_dir / "short.txt"), E_FAIL);
    EXPECT_EQ(::GetLastError(), 0xE0000001u);
    ASSERT_EQ(Count(), 2);
    LONG num = 0;
    Track(1)->get_SamplesNum(&num);
    EXPECT_EQ(num, 2);
}

TEST_F(TrackFileTest, TimesAndValuesThatAreNoFiniteNumberAreRefused)
{
    const char* bad[] = {
        "ZO_OSC\t10\t1\n\r\n\t\nnan\t",
        "ZO_OSC\t10\t1\r\ntime\t...\r\nA\tV\r\n0\t1\r\ninf\t2\r\n",
        "ZO_OSC\t10\t1\r\ntime\t...\r\nA\tV\r\n0\t-nan\r\n",
        "ZO_OSC\t10\t1\r\ntime\t...\r\nA\tV\r\n0\t1e999\r\n",
    };
    for (const char* text : bad)
    {
        WriteFile(m_dir / "bad.txt", text);
        EXPECT_EQ(Load(m_dir / "bad.txt"), E_FAIL) << text;
        EXPECT_EQ(::GetLastError(), 0xE0000001u);
    }
}

TEST_F(TrackFileTest, ALastLineWithoutLineEndIsAFileCutShort)
{
    WriteFile(m_dir / "cut.txt", "ZO_OSC\t10\t1\r\ntime\t...\r\nA\tV\r\n0\t112\r\n1\t11");
    EXPECT_EQ(Load(m_dir / "cut.txt"), E_FAIL);
    EXPECT_EQ(::GetLastError(), 0xE0000001u);
    ASSERT_EQ(Count(), 1);
    LONG num = 0;
    Track(0)->get_SamplesNum(&num);
    EXPECT_EQ(num, 1) << "only whole lines were read";
}

TEST_F(TrackFileTest, FileWithoutSampleLinesLoadsEmptyTraces)
{
    WriteFile(m_dir / "empty.txt", "ZO_OSC\t10\t1\ntime\t...\n\n\nA\tV\n");
    ASSERT_EQ(Load(m_dir / "empty.txt"), S_OK);
    LONG dim = 0;
    Track(0)->get_DimBuffer(&dim);
    EXPECT_EQ(dim, 1);
}

TEST_F(TrackFileTest, SampleCaptureLoads)
{
    ASSERT_EQ(Load(TVSK_SAMPLE_DATA_DIR "/Samples/OscCapture.txt"), S_OK);
    ASSERT_EQ(Count(), 4);
    const char* names[] = {"Speed", "Current", "DIn0", "DIn1"};
    for (LONG i = 0; i < 4; ++i)
    {
        BSTR name = nullptr;
        Track(i)->get_Name(&name);
        EXPECT_EQ(Utf8FromBstr(name), names[i]);
        SysFreeString(name);
        LONG num = 0;
        Track(i)->get_SamplesNum(&num);
        EXPECT_EQ(num, 1500);
    }
    double times[2] = {};
    Track(0)->GetSamples(2, 0, nullptr, times);
    EXPECT_EQ(times[1], 4.0);
}
