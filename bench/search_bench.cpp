// The search screens on the ten-year data set, each beside the read-only scan of the same file in the
// same run: the call search with two filters and with all ten, the client search with every box empty
// (all 20,000 clients listed and sorted), and 200,000 lines handed to the result list until it is painted.
#include "benchdata.h"
#include "core/records/records.h"
#include "core/search/searchrules.h"
#include "ui/common/conventions.h"
#include "ui/lists/cardlinelist.h"

#include <QApplication>

using namespace ombrisa;

namespace {

const SearchRules& calls() {
    return searchRules(SearchArchive::Chiamate);
}

// Box texts taken from card `card` of the register: for each filtered field a piece from the middle of
// its text, in another case, so that each box is a real substring search.
QStringList boxesFrom(std::int64_t card, const QStringList& boxNames) {
    TRecChiamata rec;
    if (!readCard(bench::dataFile(kChiamateFile), sizeof rec, card, &rec))
        std::abort();
    QStringList texts;
    for (const SearchFilter& f : calls().filters) {
        if (!boxNames.isEmpty() && !boxNames.contains(QLatin1String(f.box))) {
            texts << QString();
            continue;
        }
        const QString text = GetText(
            &rec, kChiamataFields[static_cast<std::size_t>(fieldIndex(kChiamataFields, QString::fromLatin1(f.field)))]);
        const qsizetype length = std::min<qsizetype>(text.size(), 6);
        texts << text.mid((text.size() - length) / 2, length).toUpper();
    }
    return texts;
}

void runSearch(benchmark::State& state, const SearchRules& rules, const QString& file, const QStringList& boxes) {
    const QString path = bench::dataFile(file);
    std::size_t found = 0;
    for (auto _ : state) {
        const CardListing listing = searchArchive(rules, path, boxes);
        if (!listing.ok)
            state.SkipWithError("search");
        found = listing.lines.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["lines"] = static_cast<double>(found);
}

void BM_ScanCallsReadOnly(benchmark::State& state) {
    bench::scanReadOnly(state, bench::dataFile(kChiamateFile), sizeof(TRecChiamata));
}
BENCHMARK(BM_ScanCallsReadOnly)->Unit(benchmark::kMillisecond);

void BM_SearchCallsTwoFilters(benchmark::State& state) {
    const QStringList boxes = boxesFrom(1000, {QStringLiteral("txtOggetto"), QStringLiteral("txtOperatore")});
    runSearch(state, calls(), kChiamateFile, boxes);
}
BENCHMARK(BM_SearchCallsTwoFilters)->Unit(benchmark::kMillisecond);

void BM_SearchCallsAllFilters(benchmark::State& state) {
    runSearch(state, calls(), kChiamateFile, boxesFrom(1000, {}));
}
BENCHMARK(BM_SearchCallsAllFilters)->Unit(benchmark::kMillisecond);

// Every call listed: the most lines a search can build.
void BM_SearchCallsNoFilter(benchmark::State& state) {
    runSearch(state, calls(), kChiamateFile, {});
}
BENCHMARK(BM_SearchCallsNoFilter)->Unit(benchmark::kMillisecond);

void BM_ScanClientsReadOnly(benchmark::State& state) {
    bench::scanReadOnly(state, bench::dataFile(kClientiFile), sizeof(TRecCliente));
}
BENCHMARK(BM_ScanClientsReadOnly)->Unit(benchmark::kMillisecond);

void BM_SearchClientsAllEmpty(benchmark::State& state) {
    runSearch(state, searchRules(SearchArchive::Clienti), kClientiFile, {});
}
BENCHMARK(BM_SearchClientsAllEmpty)->Unit(benchmark::kMillisecond);

// From the end of the scan to the list painted: the 200,000 lines of every call handed to lstRecords,
// laid out and drawn.
void BM_ShowCallLines(benchmark::State& state) {
    const CardListing listing = searchArchive(calls(), bench::dataFile(kChiamateFile), {});
    CardLineList list;
    list.resize(1000, 450);
    list.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<CardLine> lines = listing.lines;
        list.lines()->clear();
        QApplication::processEvents();
        state.ResumeTiming();
        list.setLines(std::move(lines));
        list.repaint();
        QApplication::processEvents();
    }
    state.counters["lines"] = static_cast<double>(list.model()->rowCount());
}
BENCHMARK(BM_ShowCallLines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setupApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
