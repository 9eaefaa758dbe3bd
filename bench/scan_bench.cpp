// A full scan of a ten-year call register (200,000 calls) through TRecordFile and GetText of every field.
// The register comes from ombrisa-tool generate into a temporary folder, or from OMBRISA_BENCH_DIR.
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
    static QTemporaryDir temp;
    static const QString path = [] {
        QString dir = QString::fromLocal8Bit(qgetenv("OMBRISA_BENCH_DIR"));
        if (dir.isEmpty())
            dir = temp.path();
        const QString file = QDir(dir).filePath(kChiamateFile);
        if (!QFileInfo::exists(file)) {
            const int rc =
                QProcess::execute(QStringLiteral(OMBRISA_TOOL_PATH),
                                  {QStringLiteral("generate"), QStringLiteral("--dir"), dir,
                                   QStringLiteral("--clients"), QStringLiteral("2000"), QStringLiteral("--calls"),
                                   QStringLiteral("200000"), QStringLiteral("--agents"), QStringLiteral("0")});
            if (rc != 0)
                std::abort();
        }
        return file;
    }();
    return path;
}

void BM_ScanCallsGetText(benchmark::State& state) {
    const QString path = registerPath();
    TRecChiamata rec;
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(path, sizeof rec, TRecordFile::Access::Read))
            state.SkipWithError("open");
        qint64 chars = 0;
        QString text;
        while (!f.AtEnd()) {
            f.ReadRecord(rec);
            for (const FieldDef& field : kChiamataFields) {
                GetText(&rec, field, text);
                chars += text.size();
            }
        }
        f.Close();
        benchmark::DoNotOptimize(chars);
        state.counters["records"] = static_cast<double>(f.Count());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
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
    const QString path = registerPath();
    TRecChiamata rec;
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(path, sizeof rec, TRecordFile::Access::Read))
            state.SkipWithError("open");
        std::uint64_t sum = 0;
        while (!f.AtEnd()) {
            f.ReadRecord(rec);
            sum += rec.DataRit.length;
        }
        f.Close();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ScanCallsReadOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
