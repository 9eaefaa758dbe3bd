// The cost of one save on the call register (1,000 calls): an append against an in-place update, which
// also writes, flushes and removes the rollback journal, and the update with the lost-update check.
// Run in a folder on the disk where the data would live (default: the system's temporary folder).
#include "core/records/records.h"
#include "core/storage/recordfile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstring>

namespace {

using namespace ombrisa;

struct Register {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Registro_Chiamate.pro"));
    TRecChiamata rec{};
    Register() {
        std::memset(&rec, 0, sizeof rec);
        PutText(rec.Cliente, u"Rossi Mario");
        TRecordFile f;
        f.OpenOrCreate(path, sizeof rec);
        for (int i = 0; i < 1000; ++i)
            f.WriteRecord(rec);
        f.Close();
    }
};

void BM_SaveAppend(benchmark::State& state) {
    Register r;
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(r.path, sizeof r.rec) || !f.Seek(f.Count()) || !f.WriteRecord(r.rec) || !f.Close())
            state.SkipWithError("append failed");
    }
}
BENCHMARK(BM_SaveAppend)->Unit(benchmark::kMicrosecond);

void BM_SaveUpdateInPlace(benchmark::State& state) {
    Register r;
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(r.path, sizeof r.rec) || !f.Seek(500) || !f.WriteRecord(r.rec) || !f.Close())
            state.SkipWithError("update failed");
    }
}
BENCHMARK(BM_SaveUpdateInPlace)->Unit(benchmark::kMicrosecond);

void BM_SaveUpdateIfUnchanged(benchmark::State& state) {
    Register r;
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(r.path, sizeof r.rec) || !f.Seek(500) ||
            f.WriteRecordIfUnchanged(&r.rec, &r.rec) != TRecordFile::UpdateResult::Written || !f.Close())
            state.SkipWithError("update failed");
    }
}
BENCHMARK(BM_SaveUpdateIfUnchanged)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
