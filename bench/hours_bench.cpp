// The hours summary of one busy agent over ten years of works (20,000 records): the summary scan
// (date parse, interval test, list line, hours) against a plain scan that only reads every field.
#include "benchdata.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "core/work/hourssummary.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace ombrisa;

namespace {

constexpr int kWorks = 20000;

QString registerPath() {
    static QTemporaryDir temp;
    static const QString path = [] {
        setAppFolderOverride(temp.path());
        if (!QDir(temp.path()).mkpath(kLavoriFolder))
            std::abort();
        const QString file = workRegisterPath(QStringLiteral("RSSMRA80A01H501U"));
        TRecordFile f;
        if (!f.OpenOrCreate(file, sizeof(TRecLavoro)))
            std::abort();
        const QDate first(2015, 1, 1);
        for (int i = 0; i < kWorks; ++i) {
            TRecLavoro r{};
            PutText(r.Data, first.addDays(i * 3653 / kWorks).toString(QStringLiteral("dd/MM/yyyy")));
            PutText(r.Attivita, QStringLiteral("Manutenzione impianto %1").arg(i % 97));
            PutText(r.Luogo, QStringLiteral("Perugia, via dei Priori %1").arg(i % 40));
            PutText(r.Orario, QStringLiteral("08:00 - 12:00"));
            PutText(r.TotOre, QString::number(1 + i % 8));
            if (!f.WriteRecord(r))
                std::abort();
        }
        if (!f.Close())
            std::abort();
        return file;
    }();
    return path;
}

// Baseline: every field of every record read into a string.
void BM_RegisterPlainScan(benchmark::State& state) {
    bench::scanAllFields<TRecLavoro>(state, registerPath(), kLavoroFields);
}
BENCHMARK(BM_RegisterPlainScan)->Unit(benchmark::kMillisecond);

// The summary over the whole ten years (every record listed) and over one year.
void BM_HoursSummary(benchmark::State& state) {
    const QString path = registerPath();
    const QDate from = state.range(0) ? QDate(2020, 1, 1) : QDate(2015, 1, 1);
    const QDate to = state.range(0) ? QDate(2020, 12, 31) : QDate(2024, 12, 31);
    for (auto _ : state) {
        const HoursSummary s = summariseHours(path, from, to, false);
        benchmark::DoNotOptimize(s.total.micro);
        state.counters["listed"] = static_cast<double>(s.lines.size());
    }
}
BENCHMARK(BM_HoursSummary)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
