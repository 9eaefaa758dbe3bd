// ombrisa-tool: the administrators' command-line companion, built on the program's own core.
#include "commands.h"
#include "options.h"

#include "core/version.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

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
    "  ombrisa-tool import clienti|chiamate FILE --dir D [--map \"Intestazione=txtCampo\"]... [--sep ';']\n"
    "               [--encoding utf-8|cp1252] [--duplicates skip|import] [--dry-run] [--report FILE]\n"
    "               [--nuova-cartella] [--forza]\n"
    "  ombrisa-tool duplicates clienti --dir D\n"
    "  ombrisa-tool access --dir D --cf CF [--name \"Cognome Nome\"] --out CARTELLA\n"
    "  ombrisa-tool forget --dir D --cf CF [--name \"Cognome Nome\"] [--dry-run] [--forza]\n"
    "  ombrisa-tool retention --dir D --years N [--today gg/mm/aaaa]\n"
    "  ombrisa-tool backup --dir D --out FILE.tar.zst\n"
    "  ombrisa-tool backup --verify FILE.tar.zst\n"
    "  ombrisa-tool restore FILE.tar.zst --dir D [--nuova-cartella]\n"
    "  ombrisa-tool stats --dir D [--from gg/mm/aaaa] [--to gg/mm/aaaa] [--csv]\n"
    "  ombrisa-tool chi NUMERO --dir D\n";

struct Command {
    const char* name;
    int (*run)(const QStringList&);
};

const Command kCommands[] = {
    {"generate", tool::generate},   {"dump", tool::dump},     {"verify", tool::verify},
    {"check", tool::check},         {"hours", tool::hours},   {"search", tool::search},
    {"export", tool::exportFile},   {"access", tool::access}, {"forget", tool::forget},
    {"retention", tool::retention}, {"import", tool::importFile}, {"duplicates", tool::duplicates},
    {"backup", tool::backup},       {"restore", tool::restore},
    {"stats", tool::stats},
    {"chi", tool::chi},
};

void quietPlatformRemarks(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    // access writes PDF files, which need fonts: a GUI application without a display.
    const bool writesReports = argc > 1 && QByteArrayView(argv[1]) == "access";
    if (writesReports && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The platform's remarks on the session (no runtime folder under a bare login) are not the tool's
    // messages: its standard error stays one line per problem.
    if (writesReports)
        qInstallMessageHandler(quietPlatformRemarks);
    std::unique_ptr<QCoreApplication> app =
        writesReports ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return tool::usageError(QStringLiteral("manca il comando (ombrisa-tool --help)"));
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return tool::finishOutput(0);
    }
    if (args.first() == QLatin1String("--version")) {
        std::printf("ombrisa-tool %s\n", qPrintable(ombrisa::programVersion()));
        return tool::finishOutput(0);
    }
    const QString name = args.takeFirst();
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name)) {
            if (tool::asksForHelp(args)) {
                QString help = tool::commandHelp(name);
                if (help.isEmpty()) // a command without its own text: its lines of the usage
                    for (const QString& line : QString::fromUtf8(kUsage).split(QLatin1Char('\n')))
                        if (line.startsWith(QLatin1String("  ombrisa-tool ") + name + QLatin1Char(' ')))
                            help += line.trimmed() + QLatin1Char('\n');
                std::fputs(help.toUtf8().constData(), stdout);
                return tool::finishOutput(0);
            }
            return tool::finishOutput(c.run(args));
        }
    return tool::usageError(QStringLiteral("comando sconosciuto \"%1\" (ombrisa-tool --help)").arg(name));
}
