// Loading a parameter file just below the size bound: time, and peak memory against file size.
#include "PeakMemory.h"

#include <TvskDb/TvskParDb.h>

#include <TVTextDb/TextDb.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

// Rows like the shipped files' (an address, limits, a unit and a description) up to size bytes.
std::string ParFile(size_t size)
{
    std::string text = "VER\t\"1.0.0\"\n";
    for (long i = 0; text.size() < size - 200; ++i)
        text += "PAR\tPr" + std::to_string(i % 60000) + "." + std::to_string(i / 60000) +
                "\t-1\trw\t1.5\t16\t10\t0\t655.35\t0\t1\t\"rpm\"\t\"Velocita massima del motore " +
                std::to_string(i) + "\"\n";
    return text;
}

void ParFileLoad(benchmark::State& state)
{
    const size_t size = static_cast<size_t>(state.range(0)) << 20;
    const std::string path =
        (std::filesystem::temp_directory_path() / ("bench-par-" + std::to_string(::getpid()) + ".par"))
            .string();
    std::ofstream(path, std::ios::binary) << ParFile(size);
    double peak = 0;
    for (auto _ : state)
    {
        peak = bench::PeakBytes(
            [&]
            {
                CTvskParDb db;
                if (db.Load(path.c_str()) != 0)
                    state.SkipWithError("the file did not load");
                benchmark::DoNotOptimize(db.GetParNum(true));
            });
    }
    std::remove(path.c_str());
    state.counters["file_MiB"] = static_cast<double>(size) / (1 << 20);
    state.counters["peak_per_file_byte"] = peak / static_cast<double>(size);
}

} // namespace

BENCHMARK(ParFileLoad)->Arg(1)->Arg(4)->Arg(15)->Unit(benchmark::kMillisecond)->Iterations(2);
