// Values of every width, scale and offset carried from each entry of the manager to drivesim, back,
// into the file and through Save and reopen, unchanged.
#include "TransfersChainFixture.h"

#include <Tarveskon/TvskIntf.h>

#include <com/Com.h>
#include <framework/LeadingNumber.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

using tvsk::testing::Pointer;

struct Width
{
    const char* name;
    int address; // the low word of a double word
    int bit;     // -1 for words
    int bits;
    double scale;
    double offset;
    std::vector<double> values; // smallest, largest and, where the width holds one, a 7-digit value
};

// Parameters of every kind, common to all operating modes, in menu 1.
const char* const kRows =
    "PAR\tPr210.3\t-1\trw\t0\t1\t1\t0\t1\t0\t1\t\"\"\t\"bit\"\n"
    "PAR\tPr211\t-1\trw\t0\t16\t1\t0\t65535\t0\t1\t\"\"\t\"u16\"\n"
    "PAR\tPr212\t-1\trw\t0\t16\t1\t0\t32767\t-32768\t1\t\"\"\t\"s16\"\n"
    "PAR\tPr213\t-1\trw\t0\t16\t100\t0\t655.35\t0\t1\t\"\"\t\"scaled u16\"\n"
    "PAR\tPr214\t-1\trw\t0\t16\t10\t500\t3000\t-3000\t1\t\"\"\t\"offset s16\"\n"
    "PAR\tPr217:216\t-1\trw\t0\t32\t1\t0\t4294967295\t0\t1\t\"\"\t\"u32\"\n"
    "PAR\tPr219:218\t-1\trw\t0\t32\t1\t0\t2147483647\t-2147483648\t1\t\"\"\t\"s32\"\n"
    "PAR\tPr221:220\t-1\trw\t0\t32\t100\t0\t21474836.47\t-21474836.48\t1\t\"\"\t\"scaled "
    "s32\"\n"
    "PAR\tPr223:222\t-1\trw\t0\t32\t1000\t-1000\t2000000\t-2000000\t1\t\"\"\t\"offset "
    "s32\"\n";

const std::vector<Width> kWidths = {
    {"Pr210.3", 210, 3, 1, 1, 0, {0, 1}},
    {"Pr211", 211, -1, 16, 1, 0, {0, 65535, 43210}},
    {"Pr212", 212, -1, 16, 1, 0, {-32768, 32767, -12345}},
    {"Pr213", 213, -1, 16, 100, 0, {0, 655.35, 123.45}},
    {"Pr214", 214, -1, 16, 10, 500, {-3000, 3000, -1234.5}},
    {"Pr217:216", 216, -1, 32, 1, 0, {0, 4294967295, 1234567}},
    {"Pr219:218", 218, -1, 32, 1, 0, {-2147483648, 2147483647, -7654321}},
    {"Pr221:220", 220, -1, 32, 100, 0, {-21474836.48, 21474836.47, 1234567.89}},
    {"Pr223:222", 222, -1, 32, 1000, -1000, {-2000000, 2000000, 1234567.125}},
};

// How a value enters the configuration.
enum class Entry
{
    FieldText, // the host's field 1 of the menu list, as a text
    PageText,  // a page's text field: the whole text a number, written to the drive
    ScriptPar, // the automation object's Par property
};

class TvskValueRoundTripTest : public tvsk::testing::TransfersChainFixture
{
protected:
    void BeforeDrive() override
    {
        const char* modeRow = "PAR\tPr1\t-1\trw\t0\t16\t1\t0\t3\t0\t1\t";
        folder->Replace("TKSERIES/TK40.par", modeRow, std::string(kRows) + modeRow);
    }
    DBPAR& Par(CTvskManager& m, const char* name)
    {
        DBPAR* par = m.ParDb().GetPar(name, true);
        EXPECT_NE(par, nullptr) << name;
        static DBPAR none{};
        return par ? *par : none;
    }
    int MenuIndex(const char* name)
    {
        manager->ParDb().SetMenu(1);
        for (long i = 0; i < manager->ParDb().GetParNum(false); ++i)
            if (std::strcmp(manager->ParDb().GetPar(i, false)->szID, name) == 0)
                return static_cast<int>(i);
        return -1;
    }
    // The host's text of the file's value, as fields and pages show it.
    std::string FieldText(const char* name)
    {
        CString text;
        manager->GetParField(MenuIndex(name), 1, text);
        return text.str();
    }
    HRESULT PutPar(const char* name, double value)
    {
        CTvskIntf* intf = manager->GetIntf();
        std::u16string member = tvsk::com::Utf16FromUtf8("Par");
        LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(member.c_str()))};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(intf->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
        VARIANT args[2];
        VariantInit(&args[0]);
        args[0].vt = VT_R8;
        args[0].dblVal = value;
        VariantInit(&args[1]);
        args[1].vt = VT_BSTR;
        args[1].bstrVal = tvsk::com::BstrFromUtf8(name);
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{args, &named, 2, 1};
        const HRESULT hr =
            intf->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
        VariantClear(&args[1]);
        return hr;
    }
    // The shortest text that reads back the value, as the engineer types it.
    static std::string Typed(double value)
    {
        char text[40];
        for (int digits = 1; digits <= 17; ++digits)
        {
            std::snprintf(text, sizeof text, "%.*g", digits, value);
            if (std::strtod(text, nullptr) == value)
                break;
        }
        return text;
    }
    // The raw word the drive must get, unsigned as the journal writes it.
    static unsigned long long RawOf(const Width& width, double value)
    {
        const double raw = std::round(value * width.scale + width.offset);
        const double modulus = std::ldexp(1.0, width.bits == 1 ? 1 : width.bits);
        return static_cast<unsigned long long>(raw < 0 ? raw + modulus : raw);
    }
    // The last write the drive served at the parameter's address.
    std::string LastWrite(const Width& width, size_t from)
    {
        const std::string address = width.bit >= 0
                                        ? std::to_string(width.address) + "." + std::to_string(width.bit)
                                        : std::to_string(width.address);
        std::string last;
        for (const std::string& line : JournalFrom(from))
            if (line.rfind("write " + address + " ", 0) == 0)
                last = line;
        return last;
    }
    void Enter(Entry entry, const Width& width, double value)
    {
        switch (entry)
        {
        case Entry::FieldText:
            ASSERT_EQ(manager->SetParField(MenuIndex(width.name), 1, Typed(value).c_str()), HOSTRES_OK);
            break;
        case Entry::PageText:
        {
            double typed = 0;
            ASSERT_TRUE(tvsk::WholeDouble(Typed(value), typed));
            ASSERT_EQ(manager->SetParValue(width.name, tvsk::com::MakeVariantR8(typed), TRUE), HOSTRES_OK);
            ASSERT_TRUE(tvsk::WholeDouble(FieldText(width.name), typed)) << "the page shows a number";
            EXPECT_EQ(typed, value) << "the shown text reads back the value";
            break;
        }
        case Entry::ScriptPar:
            ASSERT_EQ(PutPar(width.name, value), S_OK);
            break;
        }
    }
};

TEST_F(TvskValueRoundTripTest, EveryWidthKeepsItsValuesThroughEachEntryTheDriveAndTheFile)
{
    OpenAndConnect();
    for (const Width& width : kWidths)
    {
        SCOPED_TRACE(width.name);
        const double other = width.values[0];
        for (const double value : width.values)
        {
            SCOPED_TRACE(Typed(value));
            for (const Entry entry : {Entry::FieldText, Entry::PageText, Entry::ScriptPar})
            {
                SCOPED_TRACE(static_cast<int>(entry));
                // The file holds another value first, so the entry changes it.
                Par(*manager, width.name).dblDefVal = value == other ? width.values[1] : other;
                const size_t from = JournalLength();
                Enter(entry, width, value);
                EXPECT_EQ(Par(*manager, width.name).dblDefVal, value) << "in the file";
                const std::string written = LastWrite(width, from);
                unsigned long long raw = 0;
                EXPECT_EQ(std::sscanf(written.c_str(), "write %*s %*d %llu", &raw), 1) << written;
                EXPECT_EQ(raw, RawOf(width, value)) << written;

                Par(*manager, width.name).dblDefVal = value == other ? width.values[1] : other;
                ASSERT_EQ(manager->SendCommand(1, Pointer(width.name), 0), 0);
                EXPECT_EQ(Par(*manager, width.name).dblDefVal, value) << "read back from the drive";
            }
            const std::string saved = folder->Path("RoundTrip.dat");
            ASSERT_EQ(manager->SaveFile(saved.c_str()), 0);
            CTvskManager reopened(folder->Dir().c_str());
            ASSERT_EQ(reopened.OpenFile(saved.c_str()), 0);
            EXPECT_EQ(Par(reopened, width.name).dblDefVal, value) << "saved and reopened";
        }
    }
}

TEST_F(TvskValueRoundTripTest, CamPointsKeepTheirValuesThroughTheDriveAndTheFile)
{
    OpenAndConnect();
    const int lowest = static_cast<int>(manager->GetCamMinValue());
    const int highest = static_cast<int>(manager->GetCamMaxValue());
    const std::vector<int> values = {lowest, highest, 7777};
    for (size_t p = 0; p < values.size(); ++p)
        ASSERT_TRUE(manager->SetCamData(static_cast<int>(p), values[p], 0, TRUE, 2));
    const size_t from = JournalLength();
    ASSERT_TRUE(manager->DownloadCams());
    const int start = manager->GetCamStartAddr(2);
    std::vector<std::string> written;
    for (const std::string& line : JournalFrom(from))
        for (size_t p = 0; p < values.size(); ++p)
            if (line.rfind("write " + std::to_string(start + static_cast<int>(p)) + " 16 ", 0) == 0)
                written.push_back(line);
    EXPECT_EQ(written,
              (std::vector<std::string>{"write 3072 16 " + std::to_string(lowest),
                                        "write 3073 16 " + std::to_string(highest), "write 3074 16 7777"}));

    // The cam editor's read: each word of the drive stored as the point again.
    for (size_t p = 0; p < values.size(); ++p)
    {
        ASSERT_TRUE(manager->SetCamData(static_cast<int>(p), -1, 0, TRUE, 2));
        double word = 0;
        ASSERT_EQ(manager->SendCommand(14, (16L << 16) + start + static_cast<long>(p), Pointer(&word)), 0);
        ASSERT_TRUE(manager->SetCamData(static_cast<int>(p), word, 0, TRUE, 2));
    }
    const std::string saved = folder->Path("Cams.dat");
    ASSERT_EQ(manager->SaveFile(saved.c_str()), 0);
    CTvskManager reopened(folder->Dir().c_str());
    ASSERT_EQ(reopened.OpenFile(saved.c_str()), 0);
    for (size_t p = 0; p < values.size(); ++p)
    {
        double value = -1;
        int valid = 0;
        reopened.GetCamData(static_cast<int>(p), &value, nullptr, &valid, 2);
        EXPECT_EQ(value, values[p]) << p;
        EXPECT_EQ(valid, 1) << p;
    }
}

} // namespace
