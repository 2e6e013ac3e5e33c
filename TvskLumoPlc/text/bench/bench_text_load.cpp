// Loading an instruction-list text just below the size bound: time, and peak memory against file size.
#include "PeakMemory.h"

#include <TvskLumoPlc/text/CrystalTextBuffer.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

// Lines as a program holds them: instructions with operands and now and then a comment.
std::string Program(size_t size)
{
    static const char* const kLines[] = {
        "LD 1.0",  "AND 2.3",    "OUT 10.0", "ADD 110 111 112", "; conveyor belt start",
        "LDN 4.1", "MOV 300 301"};
    std::string text;
    for (size_t i = 0; text.size() < size - 8; ++i)
        text.append(kLines[i % std::size(kLines)]).append("\r\n");
    return text + "END\r\n";
}

void IlTextLoad(benchmark::State& state)
{
    const size_t size = static_cast<size_t>(state.range(0)) << 20;
    const std::string path =
        (std::filesystem::temp_directory_path() / ("bench-il-" + std::to_string(::getpid()) + ".il"))
            .string();
    std::ofstream(path, std::ios::binary) << Program(size);
    double peak = 0;
    for (auto _ : state)
    {
        peak = bench::PeakBytes(
            [&]
            {
                CCrystalTextBuffer buffer;
                if (!buffer.LoadFile(path.c_str()))
                    state.SkipWithError("the file did not load");
                benchmark::DoNotOptimize(buffer.GetLineCount());
            });
    }
    std::remove(path.c_str());
    state.counters["file_MiB"] = static_cast<double>(size) / (1 << 20);
    state.counters["peak_per_file_byte"] = peak / static_cast<double>(size);
}

} // namespace

BENCHMARK(IlTextLoad)->Arg(1)->Arg(4)->Arg(15)->Unit(benchmark::kMillisecond)->Iterations(2);
