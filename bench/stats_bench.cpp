// The call statistics over a ten-year call register (200,000 calls): every section from one scan,
// against the read-only scan of the same register in the same run.
#include "benchdata.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/stats/callstats.h"

#include <benchmark/benchmark.h>

using namespace ombrisa;

namespace {

QString registerPath() {
    return bench::dataFile(kChiamateFile);
}

void BM_ScanCallsReadOnly(benchmark::State& state) {
    bench::scanReadOnly(state, registerPath(), sizeof(TRecChiamata));
}
BENCHMARK(BM_ScanCallsReadOnly)->Unit(benchmark::kMillisecond);

// Everything the statistics screen draws, over the whole register.
void BM_CallStatsWholeRegister(benchmark::State& state) {
    const QString path = registerPath();
    for (auto _ : state) {
        const CallStats stats = computeCallStats(path, {});
        if (!stats.ok)
            state.SkipWithError("stats");
        benchmark::DoNotOptimize(stats.total.calls);
    }
}
BENCHMARK(BM_CallStatsWholeRegister)->Unit(benchmark::kMillisecond);

// One year of the ten: the interval test is made on every call, the groups see a tenth of them.
void BM_CallStatsOneYear(benchmark::State& state) {
    const QString path = registerPath();
    StatsInterval interval;
    interval.from = QDate(2020, 1, 1);
    interval.to = QDate(2020, 12, 31);
    for (auto _ : state) {
        const CallStats stats = computeCallStats(path, interval);
        if (!stats.ok)
            state.SkipWithError("stats");
        benchmark::DoNotOptimize(stats.total.calls);
    }
}
BENCHMARK(BM_CallStatsOneYear)->Unit(benchmark::kMillisecond);

// With the progress callback the screen passes (called per block of records, never stopping).
void BM_CallStatsWithProgress(benchmark::State& state) {
    const QString path = registerPath();
    std::int64_t calls = 0;
    for (auto _ : state) {
        const CallStats stats = computeCallStats(path, {}, [&calls](std::int64_t done, std::int64_t) {
            calls = done;
            return true;
        });
        benchmark::DoNotOptimize(stats.total.calls);
    }
    benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_CallStatsWithProgress)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
