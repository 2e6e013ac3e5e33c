// OpenFile of a generated drive type with 1,250, 5,000 and 20,000 parameters, their stored values
// and their texts: the time should grow in step with the count.
#include <Tarveskon/TvskManager.h>
#include <Tarveskon/TvskStrings.h>

#include <registry/Profile.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace
{

// A program folder with the sample data and the drive type "BIG": its parameter file, a session
// storing every value and a text for every parameter in the Italian string file.
std::string MakeProgramFolder(int parameters)
{
    char pattern[] = "/tmp/tvsk-openfile-bench-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    std::filesystem::copy(TVSK_SAMPLE_DATA_DIR, dir, std::filesystem::copy_options::recursive);
    std::filesystem::create_directory(dir + "/BIG");
    std::ofstream par(dir + "/BIG/BIG.par");
    par << "VER\t\"1.0.0\"\nDRIVE\t\"BIG\"\n";
    for (int i = 0; i < parameters; ++i)
        par << "PAR\tPr" << i << "\t-1\trw\t" << i % 100 << "\t16\t10\t0\t1000\t0\t" << 1 + i % 7
            << "\t\"u\"\t\"Parametro " << i << "\"\t" << 10000 + i << "\n";
    std::ofstream session(dir + "/Big.dat");
    session << "DRIVE\t\"BIG^1^230\"\t1\t1\t2\t230\t0\t9999\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n"
            << "LANG\t\"ITA\"\n";
    for (int i = 0; i < parameters; ++i)
        session << "VAL\t\"Pr" << i << "\"\t" << (i % 90) + 0.5 << "\t-1\n";
    std::ofstream texts(dir + "/ITA.str", std::ios::app);
    for (int i = 0; i < parameters; ++i)
        texts << "\nSTR\t\"" << 10000 + i << "\"\t\"Descrizione del parametro " << i << "\"";
    texts << "\n";
    return dir;
}

void BM_OpenFile(benchmark::State& state)
{
    char registry[] = "/tmp/tvsk-openfile-registry-XXXXXX";
    ::setenv("TARVESKON_REGISTRY", (std::string(::mkdtemp(registry)) + "/registry").c_str(), 1);
    CProfile::Instance().SetRegistryKey("MurnApps");
    RegisterTvskStrings();
    const int parameters = static_cast<int>(state.range(0));
    const std::string dir = MakeProgramFolder(parameters);
    const std::string session = dir + "/Big.dat";
    CTvskManager manager(dir.c_str());
    for (auto _ : state)
    {
        const int result = manager.OpenFile(session.c_str());
        if (result != 0 || manager.ParDb().GetParNum(true) != parameters)
            state.SkipWithError("the generated session does not open");
    }
    std::filesystem::remove_all(dir);
    std::filesystem::remove_all(registry);
}
BENCHMARK(BM_OpenFile)->Arg(1250)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
