// Importing the 20,000 clients of the data set of benchdata.h (exported by the program as a sheet) into
// an empty folder, and the duplicate check of a new card against them. Baselines in the same run: reading
// the sheet's bytes and writing the archive's bytes; the client scan.
#include "benchdata.h"
#include "core/cards/duplicates.h"
#include "core/export/exports.h"
#include "core/import/importplan.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"

#include <QFile>
#include <QFileInfo>

#include <map>

#include <unistd.h>

#include <benchmark/benchmark.h>

using namespace ombrisa;

namespace {

// The data set's clients as the program's own export (the sheet to import).
QString sheetPath() {
    static const QString path = [] {
        const QString dir = bench::dataFolder();
        setAppFolderOverride(dir);
        ExportTable rows;
        if (!fillExportRows(ExportKind::Clienti, rows))
            std::abort();
        const QString file = QDir(dir).filePath(QStringLiteral("clienti-da-importare.xls"));
        const ExportDef& def = exportDef(ExportKind::Clienti);
        if (exportSpreadsheet(file, def.sheetName, def.columns, rows) != ExportOutcome::Written)
            std::abort();
        return file;
    }();
    return path;
}

// Baseline: the sheet read whole and an archive of 20,000 clients written whole; with the argument 1 the
// archive is also flushed to the disk, as the import does before it reports success.
void BM_ReadSheetAndWriteArchive(benchmark::State& state) {
    const QString sheet = sheetPath();
    QTemporaryDir empty;
    const QByteArray archive(20000 * static_cast<qsizetype>(sizeof(TRecCliente)), 'x');
    const bool flushed = state.range(0) != 0;
    for (auto _ : state) {
        QFile in(sheet);
        if (!in.open(QIODevice::ReadOnly))
            state.SkipWithError("read");
        benchmark::DoNotOptimize(in.readAll());
        QFile out(empty.filePath(kClientiFile));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(archive) != archive.size() ||
            !out.flush() || (flushed && ::fdatasync(out.handle()) != 0))
            state.SkipWithError("write");
    }
}
BENCHMARK(BM_ReadSheetAndWriteArchive)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole import: the sheet read, the plan made against an empty archive, every card appended.
void BM_ImportClients(benchmark::State& state) {
    const QString sheet = sheetPath();
    QTemporaryDir empty;
    setAppFolderOverride(empty.path());
    for (auto _ : state) {
        QFile::remove(empty.filePath(kClientiFile));
        const SheetResult read = readSheetFile(sheet);
        ImportPlan plan;
        if (!read.ok || !makeImportPlan(ImportArchive::Clienti, read.table,
                                        guessMapping(ImportArchive::Clienti, read.table.headings), plan, nullptr))
            state.SkipWithError("plan");
        const ImportResult result = runImport(plan, true);
        if (result.outcome != ImportOutcome::Written)
            state.SkipWithError("import");
        state.counters["cards"] = static_cast<double>(result.written);
    }
    setAppFolderOverride(bench::dataFolder());
}
BENCHMARK(BM_ImportClients)->Unit(benchmark::kMillisecond);

// The import's parts on their own, to see where its time goes: 0 reads the sheet, 1 makes the plan from a
// sheet already read, 2 appends a plan already made.
void BM_ImportPart(benchmark::State& state) {
    const QString sheet = sheetPath();
    QTemporaryDir empty;
    setAppFolderOverride(empty.path());
    const SheetResult read = readSheetFile(sheet);
    const QStringList mapping = guessMapping(ImportArchive::Clienti, read.table.headings);
    ImportPlan plan;
    if (!read.ok || !makeImportPlan(ImportArchive::Clienti, read.table, mapping, plan, nullptr))
        state.SkipWithError("plan");
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            benchmark::DoNotOptimize(readSheetFile(sheet));
            break;
        case 1: {
            ImportPlan again;
            benchmark::DoNotOptimize(makeImportPlan(ImportArchive::Clienti, read.table, mapping, again, nullptr));
            break;
        }
        default:
            state.PauseTiming();
            QFile::remove(empty.filePath(kClientiFile));
            state.ResumeTiming();
            if (runImport(plan, true).outcome != ImportOutcome::Written)
                state.SkipWithError("import");
        }
    }
    setAppFolderOverride(bench::dataFolder());
}
BENCHMARK(BM_ImportPart)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A CSV sheet (UTF-8, ';') of about `megabytes` MB of real rows: the data set's clients as their export
// has them, over again until the size is reached.
QString csvSheetOf(std::int64_t megabytes) {
    static std::map<std::int64_t, QString> made;
    if (const auto it = made.find(megabytes); it != made.end())
        return it->second;
    const SheetResult exported = readSheetFile(sheetPath());
    if (!exported.ok)
        std::abort();
    const auto line = [](const QStringList& cells) {
        QStringList quoted;
        for (QString cell : cells) {
            if (cell.contains(u';') || cell.contains(u'"') || cell.contains(u'\n') || cell.contains(u'\r'))
                cell = u'"' + cell.replace(u'"', QStringLiteral("\"\"")) + u'"';
            quoted << cell;
        }
        return (quoted.join(u';') + QStringLiteral("\r\n")).toUtf8();
    };
    const QString file = QDir(bench::dataFolder()).filePath(QStringLiteral("clienti-%1MB.csv").arg(megabytes));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    out.write(line(exported.table.headings));
    const qint64 target = megabytes * 1000 * 1000;
    while (out.size() < target)
        for (std::size_t r = 0; r < exported.table.rows.size() && out.size() < target; ++r)
            out.write(line(exported.table.rows[r].cells()));
    out.close();
    made[megabytes] = file;
    return file;
}

// The import of a CSV sheet of 1 to 100 MB into an empty folder, every row written (duplicates too): the
// time should grow in proportion to the size (bytes_per_second about steady). With the second argument 1,
// only the reading and the plan (what --dry-run does).
void BM_ImportSheetOfSize(benchmark::State& state) {
    const QString sheet = csvSheetOf(state.range(0));
    const bool planOnly = state.range(1) != 0;
    QTemporaryDir empty;
    setAppFolderOverride(empty.path());
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(empty.filePath(kClientiFile));
        state.ResumeTiming();
        const SheetResult read = readSheetFile(sheet);
        ImportPlan plan;
        if (!read.ok || !makeImportPlan(ImportArchive::Clienti, read.table,
                                        guessMapping(ImportArchive::Clienti, read.table.headings), plan, nullptr))
            state.SkipWithError("plan");
        state.counters["rows"] = static_cast<double>(plan.rows.size());
        if (!planOnly && runImport(plan, true).outcome != ImportOutcome::Written)
            state.SkipWithError("import");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * QFileInfo(sheet).size());
    setAppFolderOverride(bench::dataFolder());
}
BENCHMARK(BM_ImportSheetOfSize)
    ->ArgsProduct({{1, 3, 10, 30, 100}, {0, 1}})
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Baseline: the client scan.
void BM_ScanClients(benchmark::State& state) {
    bench::scanReadOnly(state, bench::dataFile(kClientiFile), sizeof(TRecCliente));
}
BENCHMARK(BM_ScanClients)->Unit(benchmark::kMillisecond);

// The question the client card asks before saving a new card: is it a client the archive holds?
void BM_DuplicateCheckOfANewCard(benchmark::State& state) {
    setAppFolderOverride(bench::dataFolder());
    TRecCliente card;
    std::memset(&card, 0, sizeof card);
    PutText(card.Cliente, u"Nuovo Cliente");
    PutText(card.Recapito, u"06 0000000");
    PutText(card.CodFisc, u"NVOCLN80A01H501X");
    for (auto _ : state) {
        std::optional<std::int64_t> found;
        if (!findExistingClient(card, 0, found, nullptr))
            state.SkipWithError("scan");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_DuplicateCheckOfANewCard)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
