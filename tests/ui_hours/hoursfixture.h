#pragma once

// Helpers of the work register and hours summary tests: work records written byte by byte, the agent
// card fields the register reads, the printed list's body.

#include "core/work/workregister.h"
#include "report/preparedreport.h"
#include "ui/lists/cardlinelist.h"
#include "uisupport/fakes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QScrollBar>
#include <QStyle>
#include <gtest/gtest.h>

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

// A work whose every box is full: the longest line a work list shows.
inline QByteArray fullWork() {
    return work("28/02/2023", "Manutenzione straordinaria impianto di riscaldam", "999",
                "San Giovanni in Persiceto BO", "08:00-12:30 e 14:00-18:30 x");
}

// Lays `window` out at `size` (a fixed window keeps its own) and checks that the list's first line,
// the full work, shows whole: every column, "Tot. ore" last, ends inside the list's view and the
// window, with nothing left to scroll sideways.
inline void expectEveryColumnShown(QWidget& window, CardLineList* list, QSize size) {
    window.setWindowState(Qt::WindowNoState);
    window.resize(size);
    window.layout()->activate();
    QApplication::processEvents();
    const QString line = list->model()->index(0, 0).data().toString();
    ASSERT_EQ(line.size(), kWorkListLineLength);
    const QFontMetrics metrics(list->font());
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int left = list->visualRect(list->model()->index(0, 0)).left() + margin;
    // Each column ends where the next one's label starts; the hours end the line.
    QList<qsizetype> ends;
    for (const char* next : {"   Data: ", "  Luogo: ", "  Orario: ", "  Tot. ore: "}) {
        ends.append(line.indexOf(QLatin1String(next)));
        ASSERT_GT(ends.last(), 0) << next;
    }
    ends.append(line.size());
    for (const qsizetype end : ends) {
        const int right = left + metrics.horizontalAdvance(line.left(end));
        EXPECT_LE(right, list->viewport()->width()) << line.left(end).toStdString();
        EXPECT_LE(list->viewport()->mapTo(&window, QPoint(right, 0)).x(), window.width());
    }
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
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
