#pragma once

// Helpers of the work register and hours summary tests: work records written byte by byte, the agent
// card fields the register reads, the printed list's body.

#include "report/preparedreport.h"
#include "uisupport/fakes.h"

#include <QByteArray>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QWidget>
#include <cstring>
#include <memory>

namespace ombrisa::test {

constexpr int kWorkSize = 149;
inline const QString kCodFisc = QStringLiteral("RSSMRA80A01H501U");
inline const QString kRegister = QStringLiteral("Archivio_Lavori/Lavori_Dipendente_CF_RSSMRA80A01H501U.pro");

// A work record: Data at 0 (10), Attivita at 11 (50), Luogo at 62 (28), Orario at 91 (28), TotOre at 120 (28).
inline QByteArray work(const char* data, const char* attivita, const char* totOre, const char* luogo = "Perugia",
                       const char* orario = "8:00-12:00") {
    QByteArray r(kWorkSize, '\0');
    const std::pair<int, const char*> fields[] = {{0, data}, {11, attivita}, {62, luogo}, {91, orario}, {120, totOre}};
    for (const auto& [offset, text] : fields) {
        const auto n = static_cast<int>(std::strlen(text));
        r[offset] = static_cast<char>(n);
        std::memcpy(r.data() + offset + 1, text, static_cast<std::size_t>(n));
    }
    return r;
}

// The lines of a list view, as shown.
inline QStringList shownLines(const QListView* list) {
    QStringList lines;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        lines.append(list->model()->index(row, 0).data().toString());
    return lines;
}

// The body of a printed list: the lines of txtRiepilogo on every page.
inline QStringList printedBody(const report::PreparedReport& report) {
    QStringList lines;
    for (int page = 0; page < report.pages.size(); ++page)
        for (const report::PreparedItem* item : report.find(page, QStringLiteral("txtRiepilogo")))
            lines += item->text.split(QLatin1Char('\n'));
    return lines;
}

class HoursTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        card = std::make_unique<QWidget>();
        card->setObjectName(QStringLiteral("frmDipendenti"));
        txtDipendente = new QLineEdit(QStringLiteral(" Rossi Mario "), card.get());
        txtDipendente->setObjectName(QStringLiteral("txtDipendente"));
        txtCodFisc = new QLineEdit(kCodFisc, card.get());
        txtCodFisc->setObjectName(QStringLiteral("txtCodFisc"));
    }
    void TearDown() override {
        card.reset();
        UiTest::TearDown();
    }

    // Writes the register file, with its folder.
    void writeRegister(const QByteArray& content) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Archivio_Lavori")));
        write(kRegister, content);
    }

    std::unique_ptr<QWidget> card;
    QLineEdit* txtDipendente = nullptr;
    QLineEdit* txtCodFisc = nullptr;
};

} // namespace ombrisa::test
