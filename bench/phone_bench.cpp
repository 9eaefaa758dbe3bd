// Who is calling, on the ten-year data set's 20,000 clients: a lookup through the telephone index (the
// archive's size and time checked, then one hash lookup and the hit confirmed on its card) against a
// plain scan that reads every card and compares its telephone fields, and the building of the index.
#include "benchdata.h"
#include "core/phone/phoneindex.h"
#include "core/phone/phonenumber.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>

using namespace ombrisa;

namespace {

QString clientsPath() {
    return bench::dataFile(kClientiFile);
}

// The number of the last card, so that a scan has to read the whole archive to be sure.
QString lastCardsNumber() {
    static const QString number = [] {
        TRecordFile f;
        TRecCliente rec;
        if (!f.OpenOrCreate(clientsPath(), sizeof rec, TRecordFile::Access::Read) || f.Count() == 0 ||
            !f.Seek(f.Count() - 1) || !f.ReadRecord(rec))
            std::abort();
        f.Close();
        return comparablePhone(GetText(rec.Recapito));
    }();
    return number;
}

void BM_PhoneLookupIndex(benchmark::State& state) {
    PhoneIndex index(clientsPath());
    const QString number = lastCardsNumber();
    std::vector<PhoneMatch> matches;
    if (!index.refresh())
        state.SkipWithError("index");
    for (auto _ : state) {
        if (!index.find(number, &matches) || matches.empty())
            state.SkipWithError("lookup");
        benchmark::DoNotOptimize(matches.data());
    }
}
BENCHMARK(BM_PhoneLookupIndex)->Unit(benchmark::kMicrosecond);

void BM_PhoneLookupScan(benchmark::State& state) {
    const QString path = clientsPath();
    const QString number = lastCardsNumber();
    TRecCliente rec;
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(path, sizeof rec, TRecordFile::Access::Read))
            state.SkipWithError("open");
        std::vector<std::int64_t> cards;
        QString text;
        auto holds = [&](const auto& field) {
            GetText(&field.length, field.capacity, text);
            return comparablePhone(text) == number;
        };
        while (!f.AtEnd()) {
            const std::int64_t card = f.Position() + 1;
            f.ReadRecord(rec);
            if (holds(rec.Recapito) || holds(rec.TelCasa) || holds(rec.TelUff) || holds(rec.TelCel))
                cards.push_back(card);
        }
        f.Close();
        if (cards.empty())
            state.SkipWithError("scan");
        benchmark::DoNotOptimize(cards.data());
    }
}
BENCHMARK(BM_PhoneLookupScan)->Unit(benchmark::kMicrosecond);

// A look-up after one card was added to the archive since the last one: what keeping the index up to
// date costs when the archive grows (the card added is not timed).
void BM_PhoneLookupAfterAppend(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(kClientiFile);
    if (!dir.isValid() || !QFile::copy(clientsPath(), path))
        state.SkipWithError("copy");
    PhoneIndex index(path);
    const QString number = lastCardsNumber();
    std::vector<PhoneMatch> matches;
    if (!index.refresh())
        state.SkipWithError("index");
    TRecCliente added;
    std::memset(&added, 0, sizeof added);
    PutText(added.Cliente, QStringLiteral("Nuovo cliente"));
    PutText(added.Recapito, QStringLiteral("0123 456789"));
    for (auto _ : state) {
        state.PauseTiming();
        TRecordFile f;
        if (!f.OpenOrCreate(path, sizeof added) || !f.Seek(f.Count()) || !f.WriteRecord(added) || !f.Close())
            state.SkipWithError("append");
        state.ResumeTiming();
        if (!index.find(number, &matches) || matches.empty())
            state.SkipWithError("lookup");
        benchmark::DoNotOptimize(matches.data());
    }
}
BENCHMARK(BM_PhoneLookupAfterAppend)->Unit(benchmark::kMicrosecond);

void BM_PhoneIndexBuild(benchmark::State& state) {
    for (auto _ : state) {
        PhoneIndex index(clientsPath());
        if (!index.refresh())
            state.SkipWithError("index");
        benchmark::DoNotOptimize(index.cardCount());
    }
}
BENCHMARK(BM_PhoneIndexBuild)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
