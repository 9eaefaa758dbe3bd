#pragma once

// The ten-year data set the benchmarks read: 20,000 clients, 200,000 calls, 200 agents with 1,000 pieces
// of work each, written once by ombrisa-tool generate into a temporary folder (or read from
// OMBRISA_BENCH_DIR), and the read-only scan every figure is compared with. With OMBRISA_BENCH_QUICK=1
// (the tests' run of every benchmark) the set is a hundredth of that: it shows the benchmark still runs.
#include "core/records/archivepaths.h"
#include "core/records/fieldtable.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace ombrisa::bench {

inline QString dataFolder() {
    static QTemporaryDir temp;
    static const QString folder = [] {
        QString dir = QString::fromLocal8Bit(qgetenv("OMBRISA_BENCH_DIR"));
        if (dir.isEmpty())
            dir = temp.path();
        if (!QFileInfo::exists(QDir(dir).filePath(kChiamateFile))) {
            const bool quick = qEnvironmentVariableIntValue("OMBRISA_BENCH_QUICK") == 1;
            const int rc =
                QProcess::execute(QStringLiteral(OMBRISA_TOOL_PATH),
                                  {QStringLiteral("generate"), QStringLiteral("--dir"), dir,
                                   QStringLiteral("--clients"), quick ? QStringLiteral("200") : QStringLiteral("20000"),
                                   QStringLiteral("--calls"), quick ? QStringLiteral("2000") : QStringLiteral("200000"),
                                   QStringLiteral("--agents"), quick ? QStringLiteral("2") : QStringLiteral("200"),
                                   QStringLiteral("--works"), quick ? QStringLiteral("10") : QStringLiteral("1000")});
            if (rc != 0)
                std::abort();
        }
        return dir;
    }();
    return folder;
}

inline QString dataFile(const QString& name) {
    return QDir(dataFolder()).filePath(name);
}

// Every record read into one buffer and one byte of it looked at: what reading the file costs.
inline void scanReadOnly(benchmark::State& state, const QString& path, std::size_t recordSize) {
    std::vector<std::uint8_t> record(recordSize);
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(path, recordSize, TRecordFile::Access::Read))
            state.SkipWithError("open");
        std::uint64_t sum = 0;
        while (!f.AtEnd()) {
            f.ReadRecord(record.data());
            sum += record[0];
        }
        f.Close();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

// Every field of every record through GetText into one reused string: what a full scan that builds
// text costs.
template <typename Record, typename Fields>
void scanAllFields(benchmark::State& state, const QString& path, const Fields& fields) {
    Record rec;
    for (auto _ : state) {
        TRecordFile f;
        if (!f.OpenOrCreate(path, sizeof rec, TRecordFile::Access::Read))
            state.SkipWithError("open");
        qint64 chars = 0;
        QString text;
        while (!f.AtEnd()) {
            f.ReadRecord(rec);
            for (const FieldDef& field : fields) {
                GetText(&rec, field, text);
                chars += text.size();
            }
        }
        f.Close();
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

} // namespace ombrisa::bench
