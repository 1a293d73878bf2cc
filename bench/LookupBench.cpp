// lookup_bench: LookupNumber against the bare SQLite sequence it stands on, and the batch path.
// MOBILE_DAT names the data file (default: the built one); at the end the ratios are printed.
#include "BatchLookup.h"
#include "LookupNumber.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

std::string DataFile()
{
    const char* path = std::getenv("MOBILE_DAT");
    return path ? path : TESSARON_MOBILE_DAT;
}

// Eleven-digit numbers from every 13x and 15x range, so some are found and some are not, plus
// refused texts as a batch meets them; the same list, in the same order, for every benchmark.
const std::vector<std::string>& Numbers()
{
    static const std::vector<std::string> numbers = [] {
        std::mt19937 random(12345);
        std::uniform_int_distribution<int> digit(0, 9);
        std::vector<std::string> list;
        for (int i = 0; i < 4096; ++i) {
            std::string number = (i % 2) ? "13" : "15";
            for (int d = 0; d < 9; ++d)
                number += static_cast<char>('0' + digit(random));
            if (i % 16 == 15)
                number = "18" + number.substr(2);
            list.push_back(number);
        }
        return list;
    }();
    return numbers;
}

void LookupNumberOnFile(benchmark::State& state)
{
    const std::string path = DataFile();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LookupNumber(Numbers()[i], path));
        i = (i + 1) % Numbers().size();
    }
    state.SetItemsProcessed(state.iterations());
}

// What LookupNumber stands on: the number test, open read-only, the one table query, free, close.
void BareSqliteSequence(benchmark::State& state)
{
    const std::string path = DataFile();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& number = Numbers()[i];
        i = (i + 1) % Numbers().size();
        if (number.size() < 7 || number[0] != '1' || (number[1] != '3' && number[1] != '5'))
            continue;
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            char* sql = sqlite3_mprintf("SELECT id,mobile,province,city,type,pid,pcode FROM mobile where mobile ='%q'",
                                        number.substr(0, 7).c_str());
            char** table = nullptr;
            int rows = 0;
            int columns = 0;
            sqlite3_get_table(db, sql, &table, &rows, &columns, nullptr);
            if (rows == 1)
                benchmark::DoNotOptimize(std::string(table[9]));
            sqlite3_free_table(table);
            sqlite3_free(sql);
        }
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations());
}

// The batch path once the table is in memory; the load itself is timed on its own below.
void BatchLookupPerNumber(benchmark::State& state)
{
    BatchLookup batch(DataFile());
    batch.Lookup(Numbers()[0]);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(batch.Lookup(Numbers()[i]).fields.size());
        i = (i + 1) % Numbers().size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BatchLoad(benchmark::State& state)
{
    for (auto _ : state) {
        BatchLookup batch(DataFile());
        benchmark::DoNotOptimize(batch.Lookup(Numbers()[0]).fields.size());
    }
}

BENCHMARK(LookupNumberOnFile)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BareSqliteSequence)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BatchLookupPerNumber)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BatchLoad)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// Keeps each benchmark's median CPU time per iteration, for the ratios: on a shared machine the
// wall clock mostly measures the neighbours.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> medians;  // seconds
};

}  // namespace

int main(int argc, char** argv)
{
    if (std::FILE* file = std::fopen(DataFile().c_str(), "rb")) {
        std::fclose(file);
    } else {
        std::fprintf(stderr, "lookup_bench: no data file at %s (set MOBILE_DAT)\n", DataFile().c_str());
        return 2;
    }
    // Alternating the repetitions spreads the machine's changing load over all benchmarks alike.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& m = reporter.medians;
    if (m.count("LookupNumberOnFile") && m.count("BareSqliteSequence"))
        std::printf("LookupNumber / bare SQLite sequence (CPU time): %.3f (target at most 1.10)\n",
                    m.at("LookupNumberOnFile") / m.at("BareSqliteSequence"));
    if (m.count("BatchLookupPerNumber") && m.count("LookupNumberOnFile"))
        std::printf("batch path (CPU time): %.0f numbers/s in memory, %.0fx LookupNumber; table load %.1f ms\n",
                    1.0 / m.at("BatchLookupPerNumber"), m.at("LookupNumberOnFile") / m.at("BatchLookupPerNumber"),
                    m.count("BatchLoad") ? m.at("BatchLoad") * 1e3 : 0.0);
    benchmark::Shutdown();
    return 0;
}
