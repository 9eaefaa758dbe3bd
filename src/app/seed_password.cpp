// Build step: places the password file with the first-access password beside the program, only when
// there is none, so that a rebuild never resets a password the user has changed.
// Usage: ombrisa-seed-password <password file>

#include "core/password/passwordfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: ombrisa-seed-password <file della password>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(path))
        return 0;
    if (!ombrisa::writeStoredPassword(path, ombrisa::kFirstAccessPassword)) {
        std::fprintf(stderr, "ombrisa-seed-password: impossibile scrivere %s\n", argv[1]);
        return 1;
    }
    return 0;
}
