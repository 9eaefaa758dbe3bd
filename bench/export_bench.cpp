// The register export grid on the ten-year data set (200,000 calls) of benchdata.h. Baselines in the same
// run: the full scan with GetText of every field and reading the register whole. The grid's model holds the table that BM_FillRegisterGrid builds (moved in as is).
#include "benchdata.h"
#include "core/export/exports.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"

#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace ombrisa;

namespace {

QString registerFolder() {
    static const QString folder = [] {
        const QString dir = bench::dataFolder();
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
    bench::scanAllFields<TRecChiamata>(state, registerPath(), kChiamataFields);
}
BENCHMARK(BM_ScanCallsGetText)->Unit(benchmark::kMillisecond);

// Baseline: the register read whole, record by record.
void BM_ReadRegisterWhole(benchmark::State& state) {
    bench::scanReadOnly(state, registerPath(), sizeof(TRecChiamata));
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
