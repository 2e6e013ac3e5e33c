// The fuzz target over seeds and their mutations: every input must return, and soon: the step and
// size limits bound loops, recursion and growth whatever the text.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace
{

const std::vector<std::string> Seeds = {
    "x = 1 + 2 * 3\nIf x > 5 Then y = \"big\" Else y = \"small\"",
    "Function F(n)\n If n < 2 Then F = 1 Else F = n * F(n - 1)\nEnd Function\nr = F(20)",
    "Class C\n Public V\n Property Get P(i)\n  P = V & i\n End Property\n Sub Class_Terminate\n  t = 1\n End "
    "Sub\nEnd Class\n"
    "Set o = New C : o.V = 3 : r = o.P(2) : Set o = Nothing",
    "ReDim a(3) : For Each v In a : s = s & v : Next : ReDim Preserve a(5) : Erase a",
    "On Error Resume Next\nx = 1 / 0\nErr.Raise 5\ny = Mid(\"abc\", 0)\nz = CInt(\"q\")",
    "Do While i < 10 : i = i + 1 : Loop\nSelect Case i\nCase 1 To 5, 9\n r = 1\nCase Is > 9\n r = 2\nEnd "
    "Select",
    "s = Replace(Join(Split(\"a,b,c\", \",\"), \";\"), \";\", \"--\", 1, 1) & DateAdd(\"m\", 1, #1/31/2000#)",
    "Execute \"q = 1\" : r = Eval(\"q + 1\") : ExecuteGlobal \"Sub G : End Sub\" : G",
    "Sub R(n) : R n + 1 : End Sub : R 1",
    "Do : Loop",
    "s = \"x\" : For i = 1 To 40 : s = s & s : Next",
    "ReDim a(100000000)",
};

TEST(FuzzTarget, SeedsAndTheirMutationsAllReturn)
{
    std::mt19937 random(12345);
    const std::string alphabet =
        "()\":.,_'#&=<>+-*/\\^ \n\r\tabcdefghijklmnopqrstuvwxyz0123456789IfThenEndSubFor";
    const auto runsBriefly = [](const std::string& input)
    {
        const auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        return std::chrono::steady_clock::now() - start < std::chrono::seconds(2);
    };
    for (const std::string& seed : Seeds)
    {
        EXPECT_TRUE(runsBriefly(seed)) << seed;
        for (int m = 0; m < 400; ++m)
        {
            std::string input = seed;
            const int edits = 1 + static_cast<int>(random() % 4);
            for (int e = 0; e < edits && !input.empty(); ++e)
            {
                const size_t at = random() % input.size();
                switch (random() % 3)
                {
                case 0:
                    input[at] = alphabet[random() % alphabet.size()];
                    break;
                case 1:
                    input.erase(at, 1 + random() % 3);
                    break;
                default:
                    input.insert(at, 1, alphabet[random() % alphabet.size()]);
                    break;
                }
            }
            EXPECT_TRUE(runsBriefly(input)) << input;
        }
    }
}

} // namespace
