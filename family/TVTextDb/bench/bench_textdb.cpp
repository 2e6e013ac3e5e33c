// Load speed of the text database engine on generated 100,000-record files.
#include "../tests/TestTables.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

constexpr int kRecords = 100000;

// A parameter-like row: name, address, sub-address, three limits and a description.
struct PARROW
{
    char szID[21];
    int nAddr;
    int nSubAddr;
    double dblMin;
    double dblMax;
    double dblDef;
    char szDescr[81];
};

const MEMODB_REC kParFields[] = {
    {"szID", MDB_STRING, 21, offsetof(PARROW, szID)},
    {"nAddr", MDB_INT, 0, offsetof(PARROW, nAddr)},
    {"nSubAddr", MDB_INT, 0, offsetof(PARROW, nSubAddr)},
    {"dblMin", MDB_DOUBLE, 0, offsetof(PARROW, dblMin)},
    {"dblMax", MDB_DOUBLE, 0, offsetof(PARROW, dblMax)},
    {"dblDef", MDB_DOUBLE, 0, offsetof(PARROW, dblDef)},
    {"szDescr", MDB_STRING, 81, offsetof(PARROW, szDescr)},
};

// A drive row: its definition and twenty numbers.
struct DRIVEROW
{
    char szDef[61];
    double dblD[20];
};

MEMODB_REC DriveField(int i)
{
    static char names[20][8];
    std::snprintf(names[i], sizeof names[i], "dblD%d", i);
    return {names[i], MDB_DOUBLE, 0,
            static_cast<int>(offsetof(DRIVEROW, dblD) + sizeof(double) * static_cast<size_t>(i))};
}

class BenchDb : public CTextDb
{
public:
    TestTable<PARROW> m_par;
    TestTable<DRIVEROW> m_drive;

protected:
    void Init() override
    {
        static MEMODB_REC driveFields[21];
        driveFields[0] = {"szDef", MDB_STRING, 61, offsetof(DRIVEROW, szDef)};
        for (int i = 0; i < 20; ++i)
            driveFields[i + 1] = DriveField(i);
        SetSeparators("\t \"");
        SetComment(";");
        m_par.InitFields(kParFields, 7);
        RegisterSection(m_par, "PAR", ";\n;\tParameters\n;\n");
        m_drive.InitFields(driveFields, 21);
        RegisterSection(m_drive, "D", ";\n;\tDrives\n;\n");
    }
};

std::string GeneratedFile(const char* kind)
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("bench_textdb-" + std::string(kind) + "-" + std::to_string(getpid()) + ".txt"))
                                 .string();
    std::ofstream out(path);
    out << "; generated\n";
    for (int i = 0; i < kRecords; ++i)
    {
        if (kind[0] == 'P')
            out << "PAR\t\"Pr" << i << "\"\t" << 1000 + i << '\t' << i % 16 << "\t-" << i * 0.25 << '\t'
                << i * 1.5 + 0.125 << '\t' << (i % 7) / 3.0 << "\t\"Parametro numero " << i
                << " della tabella\"\n";
        else
        {
            out << "D\t\"TK40^" << i % 50 << "^400\"";
            for (int d = 0; d < 20; ++d)
                out << '\t' << (i + d) / 8.0;
            out << '\n';
        }
    }
    return path;
}

// warm: one database emptied between loads, so the figure is the engine's alone; cold: a new
// database per load, which also pays the kernel's first touch of the record memory.
void Load(benchmark::State& state, const char* kind, bool warm)
{
    const std::string path = GeneratedFile(kind);
    auto db = std::make_unique<BenchDb>();
    for (auto _ : state)
    {
        if (warm)
        {
            db->m_par.m_recs.clear();
            db->m_drive.m_recs.clear();
        }
        else
            db = std::make_unique<BenchDb>();
        if (!db->Load(path.c_str()) || db->m_par.NumRecs() + db->m_drive.NumRecs() != kRecords)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(db->RecPtr(0, 0));
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    std::filesystem::remove(path);
}

void BM_LoadParameterRowsWarm(benchmark::State& state)
{
    Load(state, "PAR", true);
}
void BM_LoadDriveRowsWarm(benchmark::State& state)
{
    Load(state, "D", true);
}
void BM_LoadParameterRowsCold(benchmark::State& state)
{
    Load(state, "PAR", false);
}
void BM_LoadDriveRowsCold(benchmark::State& state)
{
    Load(state, "D", false);
}

} // namespace

BENCHMARK(BM_LoadParameterRowsWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDriveRowsWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadParameterRowsCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDriveRowsCold)->Unit(benchmark::kMillisecond);
