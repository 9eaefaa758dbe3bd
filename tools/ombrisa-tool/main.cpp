// ombrisa-tool: the administrators' command-line companion, built on the program's own core.
#include "commands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

const char kUsage[] =
    "Uso:\n"
    "  ombrisa-tool generate --dir D [--clients N] [--calls M] [--agents K] [--works W] [--seed S] [--force]\n"
    "  ombrisa-tool dump clienti|chiamate|dipendenti|lavori [CF] --dir D\n"
    "  ombrisa-tool verify --dir D\n"
    "  ombrisa-tool check cf|piva|iban|carta VALORE\n"
    "  ombrisa-tool hours --dir D --cf CF --from gg/mm/aaaa --to gg/mm/aaaa\n"
    "  ombrisa-tool search clienti|chiamate|dipendenti --dir D [--box txtNOME=TESTO]...\n"
    "  ombrisa-tool export chiamate|clienti|oggi|storico CF --dir D [--out FILE] [--today gg/mm/aaaa]\n"
    "  ombrisa-tool stats --dir D [--from gg/mm/aaaa] [--to gg/mm/aaaa] [--csv]\n";

struct Command {
    const char* name;
    int (*run)(const QStringList&);
};

const Command kCommands[] = {
    {"generate", tool::generate},
    {"dump", tool::dump},
    {"verify", tool::verify},
    {"check", tool::check},
    {"hours", tool::hours},
    {"search", tool::search},
    {"export", tool::exportFile},
    {"stats", tool::stats},
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return tool::usageError(QStringLiteral("manca il comando (ombrisa-tool --help)"));
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return tool::finishOutput(0);
    }
    const QString name = args.takeFirst();
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return tool::finishOutput(c.run(args));
    return tool::usageError(QStringLiteral("comando sconosciuto \"%1\" (ombrisa-tool --help)").arg(name));
}
