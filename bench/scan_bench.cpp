// A full scan of a ten-year call register (200,000 calls) through TRecordFile and GetText of every field.
// The register is the ten-year data set of benchdata.h.
#include "benchdata.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace ombrisa;

namespace {

QString registerPath() {
    return bench::dataFile(kChiamateFile);
}

void BM_ScanCallsGetText(benchmark::State& state) {
    bench::scanAllFields<TRecChiamata>(state, registerPath(), kChiamataFields);
}
BENCHMARK(BM_ScanCallsGetText)->Unit(benchmark::kMillisecond);

// The same scan with a new string for every field, as code that keeps the texts does.
void BM_ScanCallsGetTextNewStrings(benchmark::State& state) {
    const QString path = registerPath();
    TRecChiamata rec;
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(path, sizeof rec, TRecordFile::Access::Read))
            state.SkipWithError("open");
        qint64 chars = 0;
        while (!f.AtEnd()) {
            f.ReadRecord(rec);
            for (const FieldDef& field : kChiamataFields)
                chars += GetText(&rec, field).size();
        }
        f.Close();
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ScanCallsGetTextNewStrings)->Unit(benchmark::kMillisecond);

void BM_ScanCallsReadOnly(benchmark::State& state) {
    bench::scanReadOnly(state, registerPath(), sizeof(TRecChiamata));
}
BENCHMARK(BM_ScanCallsReadOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
