#include "report/layouts/listreport.h"
#include "report/pdfoutput.h"
#include "reporttestutil.h"

#include <QTemporaryDir>

using namespace ombrisa::report;
using ombrisa::report::test::only;
using ombrisa::report::test::pdfText;

namespace {

const QDateTime kListNow(QDate(2024, 3, 5), QTime(10, 30, 15));

QStringList numberedLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Riga %1   Rossi Mario      0543 123456").arg(i, 3, 10, QLatin1Char('0')));
    return lines;
}

// All list lines of the prepared report, page after page.
QStringList printedLines(const PreparedReport& report) {
    QStringList lines;
    for (int page = 0; page < report.pages.size(); ++page)
        for (const PreparedItem* item : report.find(page, "txtRiepilogo"))
            lines += item->text.split(QLatin1Char('\n'));
    return lines;
}

TEST(ListReport, FortyLinesGiveTheTextAndBandHeights) {
    ReportLayout layout = listReportLayout();
    fillListReport(layout, kTitleClienti, numberedLines(40), {}, kListNow);
    EXPECT_NEAR(layout.findObject(u"txtRiepilogo")->rect.height(), 512.88, 1e-9);
    EXPECT_NEAR(layout.findBand(u"MasterData")->height, 522.88, 1e-9);
    const PreparedReport report = prepare(layout);
    ASSERT_EQ(report.pages.size(), 1);
    EXPECT_EQ(report.pageLayout.orientation(), QPageLayout::Landscape);
    EXPECT_EQ(only(report, 0, "txtTitolo").text, "Riepilogo clienti in archivio");
    EXPECT_EQ(only(report, 0, "txtTitolo").rect, QRectF(7.56, 3.78, 1031.81, 18.90));
    const PreparedItem& memo = only(report, 0, "txtRiepilogo");
    EXPECT_EQ(memo.rect.top(), 30.24);
    EXPECT_NEAR(memo.rect.height(), 512.88, 1e-9);
    EXPECT_NEAR(memo.lineHeight, 12.822, 1e-9);
    const PreparedItem& footer = only(report, 0, "txtPagina");
    EXPECT_EQ(footer.text, "Stampa eseguita in data 05/03/2024 alle ore 10:30:15");
    EXPECT_NEAR(footer.rect.top(), 30.24 + 522.88 + 7.56, 1e-9);
    EXPECT_EQ(printedLines(report), numberedLines(40));
}

// Around the page breaks (53 lines fill the first page, 56 each further one; the footer needs room of its
// own) and well past them.
TEST(ListReport, LongListContinuesOnFollowingPagesAndFooterComesOnceAfterTheLastLine) {
    const struct {
        int lines;
        int pages;
    } cases[] = {{50, 1}, {51, 2}, {53, 2}, {54, 2}, {109, 3}, {110, 3}, {200, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        const PreparedReport report = prepareListReport(kTitleChiamate, numberedLines(c.lines), {}, kListNow);
        if (c.lines == 200 && !qEnvironmentVariableIsEmpty("OMBRISA_TEST_OUTPUT")) {
            QTemporaryDir dir;
            ASSERT_TRUE(writePdfFile(report, dir.filePath("lungo.pdf"), {}).done());
            ombrisa::report::test::keepCopy(dir.filePath("lungo.pdf"), "riepilogo-lungo.pdf");
        }
        EXPECT_EQ(report.pages.size(), c.pages);
        EXPECT_EQ(printedLines(report), numberedLines(c.lines));
        EXPECT_EQ(report.find(0, "txtTitolo").size(), 1);
        const double pageHeight = report.printableSize.height();
        int footers = 0;
        for (int page = 0; page < report.pages.size(); ++page) {
            SCOPED_TRACE(page);
            if (page > 0) {
                EXPECT_TRUE(report.find(page, "txtTitolo").isEmpty());
            }
            for (const PreparedItem& item : report.pages[page].items)
                EXPECT_LE(item.rect.bottom(), pageHeight + 1e-6) << item.name.toStdString();
            const auto memo = report.find(page, "txtRiepilogo");
            if (memo.size() == 1 && !report.find(page + 1, "txtRiepilogo").isEmpty()) {
                // A page is filled before the list moves on: no room for one more line.
                EXPECT_GT(memo.first()->rect.bottom() + 12.822, pageHeight);
            }
            footers += int(report.find(page, "txtPagina").size());
        }
        EXPECT_EQ(footers, 1);
        const int last = int(report.pages.size()) - 1;
        const auto footer = report.find(last, "txtPagina");
        ASSERT_EQ(footer.size(), 1);
        const auto lastMemo = report.find(last, "txtRiepilogo");
        if (!lastMemo.isEmpty()) {
            EXPECT_GE(footer.first()->rect.top(), lastMemo.first()->rect.bottom());
        }
    }
}

TEST(ListReport, EmptyListPrintsTitleAndFooterOnly) {
    ReportLayout layout = listReportLayout();
    fillListReport(layout, kTitleRicontatta, {}, {}, kListNow);
    EXPECT_EQ(layout.findObject(u"txtRiepilogo")->rect.height(), 0);
    EXPECT_EQ(layout.findBand(u"MasterData")->height, 10);
    const PreparedReport report = prepare(layout);
    ASSERT_EQ(report.pages.size(), 1);
    QStringList names;
    for (const PreparedItem& item : report.pages[0].items)
        names.append(item.name);
    EXPECT_EQ(names, QStringList({"txtTitolo", "txtPagina"}));
    EXPECT_NEAR(only(report, 0, "txtPagina").rect.top(), 30.24 + 10 + 7.56, 1e-9);
}

TEST(ListReport, ExtraLinesFollowTheListAndEachPrintStartsAfresh) {
    ReportLayout layout = listReportLayout();
    fillListReport(layout, workRegisterTitle("  Bianchi Anna "), numberedLines(3), workRegisterExtraLines(" 12,5 "),
                   kListNow);
    fillListReport(layout, workRegisterTitle("  Bianchi Anna "), numberedLines(2), workRegisterExtraLines(" 12,5 "),
                   kListNow);
    const PreparedReport report = prepare(layout);
    EXPECT_EQ(only(report, 0, "txtTitolo").text, "Registro prestazioni lavorative di Bianchi Anna");
    EXPECT_EQ(printedLines(report),
              numberedLines(2) + QStringList({"--------------------------", "TOTALE PRESTAZIONI:    12,5"}));
    EXPECT_NEAR(only(report, 0, "txtRiepilogo").rect.height(), 4 * 12.822, 1e-9);
}

TEST(ListReport, WrittenAsPdfWithItsLinesCutNotWrapped) {
    QTemporaryDir dir;
    const QStringList lines = {"Rossi Mario      Forlì", QString(200, QLatin1Char('w'))};
    const PreparedReport report = prepareListReport(hoursSummaryTitle("RSSMRA70C05D704X"), lines,
                                                    hoursSummaryExtraLines("01/01/2024 - 31/01/2024", "3", "12,5"),
                                                    kListNow);
    EXPECT_EQ(printedLines(report).size(), 6);
    const QString path = dir.filePath("riepilogo.pdf");
    const OutputResult result = writePdfFile(report, path, {});
    ASSERT_TRUE(result.done()) << result.message.toStdString();
    ombrisa::report::test::keepCopy(path, "riepilogo.pdf");
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains("Riepilogo prestazioni del lavoratore con C.F. RSSMRA70C05D704X"));
    EXPECT_TRUE(text.contains("Rossi Mario      Forlì"));
    EXPECT_TRUE(text.contains("TOTALE ORE DI LAVORO:      12,5"));
    // A line wider than the page is cut, not wrapped onto a second line.
    EXPECT_FALSE(text.contains(QString(200, QLatin1Char('w'))));
}

} // namespace
