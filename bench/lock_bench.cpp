// Waits for a busy archive: 8 processes append 1,000 records each to one archive, every append its own
// operation (open, lock, write, flush, close). Reported: the longest single append, the mean append,
// their ratio and the appends that failed (a lock not obtained within the time limit). A fair wait keeps
// the longest append within a small multiple of the mean and fails none.
#include "core/storage/recordfile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace ombrisa;

struct Outcome {
    double longestMs = 0;
    double totalMs = 0;
    long failures = 0;
};

// In a child process: `appends` appends of 64-byte records; the outcome goes to `out`.
[[noreturn]] void appender(const QString& path, int appends, int process, int out) {
    Outcome o;
    char record[64];
    std::memset(record, 'A' + process, sizeof record);
    for (int i = 0; i < appends; ++i) {
        const auto start = std::chrono::steady_clock::now();
        TRecordFile f;
        const bool ok = f.OpenOrCreate(path, sizeof record) && f.Seek(f.Count()) &&
                        f.WriteRecord(static_cast<const void*>(record)) && f.Close();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        o.failures += ok ? 0 : 1;
        o.longestMs = std::max(o.longestMs, ms);
        o.totalMs += ms;
    }
    const bool written = ::write(out, &o, sizeof o) == static_cast<ssize_t>(sizeof o);
    ::_exit(written ? 0 : 1);
}

void BM_EightProcessesAppending(benchmark::State& state) {
    const int processes = static_cast<int>(state.range(0));
    // The tests' quick run only shows that the benchmark still runs: a twentieth of the appends.
    const bool quick = qEnvironmentVariableIntValue("OMBRISA_BENCH_QUICK") == 1;
    const int appends = static_cast<int>(state.range(1)) / (quick ? 20 : 1);
    Outcome all;
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("condiviso.pro"));
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        std::vector<pid_t> children;
        for (int p = 0; p < processes; ++p) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::close(pipeFds[0]);
                appender(path, appends, p, pipeFds[1]);
            }
            children.push_back(pid);
        }
        ::close(pipeFds[1]);
        for (int p = 0; p < processes; ++p) {
            Outcome o;
            if (::read(pipeFds[0], &o, sizeof o) != static_cast<ssize_t>(sizeof o)) {
                all.failures += appends;
                continue;
            }
            all.longestMs = std::max(all.longestMs, o.longestMs);
            all.totalMs += o.totalMs;
            all.failures += o.failures;
        }
        ::close(pipeFds[0]);
        for (const pid_t pid : children)
            ::waitpid(pid, nullptr, 0);
    }
    const double mean = all.totalMs / (static_cast<double>(state.iterations()) * processes * appends);
    state.counters["longest_ms"] = all.longestMs;
    state.counters["mean_ms"] = mean;
    state.counters["longest_over_mean"] = mean > 0 ? all.longestMs / mean : 0;
    state.counters["failures"] = static_cast<double>(all.failures);
}
BENCHMARK(BM_EightProcessesAppending)->Args({8, 1000})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
