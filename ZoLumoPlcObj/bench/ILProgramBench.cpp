// Reading and assembling generated instruction-list programs.
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

#include <Tarveskon/PluginIntf.h>
#include <com/Variant.h>

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace
{

class BenchHost : public CPluginIntf
{
public:
    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    int GetPlcMaxLen() override { return 1 << 20; }
    void ResetPlc() override { program.clear(); }
    int SetPlcInstr(int i, const char* text, const int operands[3]) override
    {
        if (i != static_cast<int>(program.size()))
            return HOSTRES_INVALID;
        program.push_back({CString(text), {operands[0], operands[1], operands[2]}});
        return HOSTRES_OK;
    }
    struct Instr
    {
        CString text;
        std::array<int, 3> operands;
    };
    std::vector<Instr> program;
};

// Networks of eight instructions with a comment each: series, parallels, a box and outputs.
CString MakeProgram(int instructions)
{
    CString text;
    for (int n = 0; n < instructions; n += 8)
    {
        const int w = n % 200;
        text.AppendFormat("(* network %d *)\n", n / 8);
        text.AppendFormat("LD\t%d.1\nAND\t%d.2\nOR\t%d.3\nORN\t%d.4\n", w, w, w, w);
        text.AppendFormat("ADD\t%d, %d, %d\nOUT\t%d.5\nAND\t%d.6\nSET\t%d.7\n\n", w, w + 1, w + 2, w, w, w);
    }
    text += "END\n";
    return text;
}

void BM_ReadAndAssembleIL(benchmark::State& state)
{
    const int instructions = static_cast<int>(state.range(0));
    const CString text = MakeProgram(instructions);
    BenchHost host;
    CLumoPlcCodeGen gen;
    gen.SetPluginIntf(&host);
    for (auto _ : state)
    {
        CLDLogicDoc doc;
        if (!gen.LoadILSource(text, &doc) || !gen.GenerateRecords(&doc))
        {
            state.SkipWithError("program not read");
            return;
        }
        unsigned long sum = 0;
        for (auto& instr : host.program)
        {
            int length = 0;
            sum += gen.Assemble(instr.text, instr.operands.data(), length);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * instructions);
    state.SetComplexityN(instructions);
}

} // namespace

BENCHMARK(BM_ReadAndAssembleIL)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Arg(8000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
