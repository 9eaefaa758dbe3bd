// ombrisa-tool check: the dialog's message on stdout and the exit code, run as an administrator would.
#include "testsupport/toolrun.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

using namespace ombrisa::test;

namespace {

struct CheckCase {
    const char* kind;
    const char* value;
    int exitCode;
    const char* out; // UTF-8
};

const CheckCase kCases[] = {
    {"cf", "RSSMRA85T10A562S", 0, "Il codice fiscale digitato è VALIDO.\n"},
    {"cf", "  rssmra85t10a562s ", 0, "Il codice fiscale digitato è VALIDO.\n"},
    {"cf", "RSSMRA85T10A562T", 1, "Attenzione: il codice fiscale digitato è ERRATO.\n"},
    {"cf", "RSSMRA85T10A562", 1, "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.\n"},
    {"cf", "", 1, "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.\n"},
    {"piva", "12345670157", 0,
     "Il numero di partita IVA digitato risulta VALIDO.\n\n"
     "E' stato rilasciato dall'Ufficio IVA del Comune di Milano 1.\n"},
    {"piva", "00000000000", 0,
     "Il numero di partita IVA digitato risulta VALIDO.\n\n"
     "E' stato rilasciato dall'Ufficio IVA del Comune di .\n"},
    {"piva", "12345670158", 1,
     "Attenzione: il numero di partita IVA digitato risulta ERRATO!\n\n"
     "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.\n"},
    {"piva", "1234567015", 1, "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.\n"},
    {"iban", "it60x0542811101000000123456", 0, "L'IBAN digitato è VALIDO.\n"},
    {"iban", "IT60X0542811101-00000123456", 1, "Attenzione: l'IBAN digitato è ERRATO!\n"},
    {"iban", "IT60 X054 2811 1010 0000 0123 456", 1,
     "Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.\n"},
    {"carta", "4111111111111111", 0,
     "Il numero di carta di credito 4111111111111111 risulta valido.\n\n"
     "La carta di credito è del tipo Visa.\n"},
    {"carta", "3200000000000002", 1,
     "Attenzione: il numero digitato risulta ERRATO!\n\n"
     "Non è quindi possibile fornire informazioni relative al tipo di carta di credito.\n"},
    {"carta", " ", 1,
     "Attenzione: immettere il numero di carta di credito prima di premere il pulsante di controllo.\n"},
};

} // namespace

TEST(ToolCheck, PrintsTheDialogMessageAndExitsByVerdict) {
    for (const CheckCase& c : kCases) {
        SCOPED_TRACE(std::string(c.kind) + " '" + c.value + "'");
        const ToolTextRun run =
            runToolText({QStringLiteral("check"), QString::fromLatin1(c.kind), QString::fromUtf8(c.value)});
        EXPECT_EQ(run.code, c.exitCode);
        EXPECT_EQ(run.out.toStdString(), std::string(c.out));
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST(ToolCheck, BadUsageExitsTwoWithOneLineOnStderr) {
    const QStringList cases[] = {
        {QStringLiteral("check")},
        {QStringLiteral("check"), QStringLiteral("cf")},
        {QStringLiteral("check"), QStringLiteral("cf"), QStringLiteral("A"), QStringLiteral("B")},
        {QStringLiteral("check"), QStringLiteral("abi"), QStringLiteral("12345")},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const ToolTextRun run = runToolText(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("ombrisa-tool: "))) << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1);
    }
}
