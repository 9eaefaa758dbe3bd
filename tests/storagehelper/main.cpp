// A small program over the storage layer that the storage tests start several times at once or kill at
// random moments.
//   append FILE N P     N appends of 64-byte records, each its own operation; record i of process P is
//                       "P<P>-<i>" followed by the letter 'A' + P up to the end
//   churn FOLDER SEED [PAUSE_US]  until killed, pausing PAUSE_US microseconds after each operation: appends and in-place updates of client cards in FOLDER/Contatti.pro;
//                       every field of a card written holds the same generation text "G<n>"
//   present FOLDER S    takes a slot in FOLDER's presence file and beats once a second for S seconds,
//                       printing each warning about a workstation whose locks do not reach this one
//   abandon FILE        in one operation on 8-byte records, rewrites record 1 with "NNNNNNNN" and appends
//                       "ZZZZZZZZ", then ends without closing: the state a crash after the writes leaves
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/presence.h"
#include "core/storage/recordfile.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <unistd.h>
#include <vector>

using namespace ombrisa;

namespace {

int append(const char* file, long n, int process) {
    constexpr std::size_t kSize = 64;
    TRecordFile f;
    for (long i = 0; i < n; ++i) {
        char record[kSize];
        std::memset(record, 'A' + process, kSize);
        const int head = std::snprintf(record, kSize, "P%d-%ld", process, i);
        record[head] = '|';
        if (!f.OpenOrCreate(QString::fromLocal8Bit(file), kSize) || !f.Seek(f.Count()) || !f.WriteRecord(record) ||
            !f.Close()) {
            std::fprintf(stderr, "%s\n", qPrintable(f.ErrorString()));
            return 1;
        }
    }
    return 0;
}

void fill(TRecCliente& card, const QString& generation) {
    std::memset(&card, 0, sizeof card);
    for (const FieldDef& field : kClienteFields)
        PutText(reinterpret_cast<std::uint8_t*>(&card) + field.offset, field.capacity, generation);
}

int churn(const char* folder, unsigned seed, long pauseMicroseconds) {
    const QString path = QString::fromLocal8Bit(folder) + QLatin1Char('/') + kClientiFile;
    std::mt19937 random(seed);
    TRecCliente card;
    for (unsigned long generation = 1;; ++generation) {
        TRecordFile f;
        if (!f.OpenOrCreate(path, sizeof(TRecCliente)))
            return 1;
        const QString text = QStringLiteral("G%1").arg(generation);
        fill(card, text);
        // Mostly updates of one to three cards in one operation, sometimes an append as well.
        const int updates = f.Count() == 0 ? 0 : 1 + static_cast<int>(random() % 3);
        for (int u = 0; u < updates; ++u)
            if (!f.Seek(static_cast<std::int64_t>(random() % static_cast<unsigned>(f.Count()))) || !f.WriteRecord(card))
                return 1;
        if ((updates == 0 || random() % 4 == 0) && (!f.Seek(f.Count()) || !f.WriteRecord(card)))
            return 1;
        if (!f.Close())
            return 1;
        // Like a person saving cards: readers get their turn between two saves.
        if (pauseMicroseconds > 0)
            ::usleep(static_cast<useconds_t>(pauseMicroseconds));
    }
}

int abandon(const char* file) {
    TRecordFile f;
    if (!f.OpenOrCreate(QString::fromLocal8Bit(file), 8) || !f.Seek(1) ||
        !f.WriteRecord(static_cast<const void*>("NNNNNNNN")) || !f.Seek(f.Count()) ||
        !f.WriteRecord(static_cast<const void*>("ZZZZZZZZ"))) {
        std::fprintf(stderr, "%s\n", qPrintable(f.ErrorString()));
        return 1;
    }
    std::_Exit(0);
}

int present(const char* folder, long seconds) {
    Presence p(QString::fromLocal8Bit(folder));
    if (!p.Register()) {
        std::fprintf(stderr, "%s\n", qPrintable(p.ErrorString()));
        return 1;
    }
    for (long s = 0; s < seconds; ++s) {
        ::sleep(1);
        if (const QString warning = p.Beat(); !warning.isEmpty())
            std::printf("%s\n", warning.toUtf8().constData());
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "append") == 0)
        return append(argv[2], std::atol(argv[3]), std::atoi(argv[4]));
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "churn") == 0)
        return churn(argv[2], static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)),
                     argc == 5 ? std::atol(argv[4]) : 0);
    if (argc == 3 && std::strcmp(argv[1], "abandon") == 0)
        return abandon(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "present") == 0)
        return present(argv[2], std::atol(argv[3]));
    std::fputs("uso: ombrisa-storage-helper append FILE N P | churn FOLDER SEED [PAUSE_US] | abandon FILE | present "
               "FOLDER S\n",
               stderr);
    return 2;
}
