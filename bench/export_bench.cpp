// The register export grid on a ten-year call register (200,000 calls), generated as in the scan
// benchmark. Baselines in the same run: the full scan with GetText of every field and reading the
// register whole. The grid's model holds the table that BM_FillRegisterGrid builds (moved in as is).
#include "core/export/exports.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace ombrisa;

namespace {

QString registerFolder() {
    static QTemporaryDir temp;
    static const QString folder = [] {
        QString dir = QString::fromLocal8Bit(qgetenv("OMBRISA_BENCH_DIR"));
        if (dir.isEmpty())
            dir = temp.path();
        if (!QFileInfo::exists(QDir(dir).filePath(kChiamateFile))) {
            const int rc =
                QProcess::execute(QStringLiteral(OMBRISA_TOOL_PATH),
                                  {QStringLiteral("generate"), QStringLiteral("--dir"), dir,
                                   QStringLiteral("--clients"), QStringLiteral("2000"), QStringLiteral("--calls"),
                                   QStringLiteral("200000"), QStringLiteral("--agents"), QStringLiteral("0")});
            if (rc != 0)
                std::abort();
        }
        setAppFolderOverride(dir);
        return dir;
    }();
    return folder;
}
QString registerPath() {
    return QDir(registerFolder()).filePath(kChiamateFile);
}

// Baseline: every record, every field through GetText into one reused string.
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
    }
}
BENCHMARK(BM_ScanCallsGetText)->Unit(benchmark::kMillisecond);

// Baseline: the register read whole, record by record.
void BM_ReadRegisterWhole(benchmark::State& state) {
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
}
BENCHMARK(BM_ReadRegisterWhole)->Unit(benchmark::kMillisecond);

// The register export screen's grid: every dated call, 15 cells each.
void BM_FillRegisterGrid(benchmark::State& state) {
    registerFolder();
    for (auto _ : state) {
        ExportTable rows;
        if (!fillExportRows(ExportKind::Chiamate, rows))
            state.SkipWithError("fill");
        state.counters["rows"] = static_cast<double>(rows.rowCount());
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_FillRegisterGrid)->Unit(benchmark::kMillisecond);

// The export of the whole grid to its file through QSaveFile (the grid filled once, outside the timing).
void BM_ExportRegisterGrid(benchmark::State& state) {
    registerFolder();
    ExportTable rows;
    if (!fillExportRows(ExportKind::Chiamate, rows))
        state.SkipWithError("fill");
    const ExportDef& def = exportDef(ExportKind::Chiamate);
    const QString out = QDir(registerFolder()).filePath(def.fileName);
    for (auto _ : state) {
        if (exportSpreadsheet(out, def.sheetName, def.columns, rows) != ExportOutcome::Written)
            state.SkipWithError("export");
    }
    state.counters["rows"] = static_cast<double>(rows.rowCount());
    state.counters["file_MB"] = static_cast<double>(QFileInfo(out).size()) / 1e6;
}
BENCHMARK(BM_ExportRegisterGrid)->Unit(benchmark::kMillisecond);

// The same export into a device that keeps nothing: the writer's own work, without the disk.
class NullDevice : public QIODevice {
public:
    NullDevice() { open(WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override { return size; }
};

void BM_ExportRegisterGridNoDisk(benchmark::State& state) {
    registerFolder();
    ExportTable rows;
    if (!fillExportRows(ExportKind::Chiamate, rows))
        state.SkipWithError("fill");
    const ExportDef& def = exportDef(ExportKind::Chiamate);
    for (auto _ : state) {
        NullDevice out;
        if (!writeSpreadsheet(out, def.sheetName, def.columns, rows))
            state.SkipWithError("export");
    }
}
BENCHMARK(BM_ExportRegisterGridNoDisk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
