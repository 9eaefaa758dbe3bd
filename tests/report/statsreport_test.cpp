#include "report/layouts/statsreport.h"
#include "reporttestutil.h"

using namespace ombrisa::report;
using ombrisa::report::test::only;

namespace {

const QDateTime kStatsNow(QDate(2024, 3, 5), QTime(10, 30, 15));

TEST(StatsReport, TableLinesAlignTheFirstColumnLeftAndTheFiguresRight) {
    const QStringList lines = statsTableLines({{QStringLiteral("Esito"), QStringLiteral("Chiamate"), QStringLiteral("Minuti")},
                                               {QStringLiteral("Positivo"), QStringLiteral("1.234"), QStringLiteral("5")},
                                               {QStringLiteral("Da richiamare più tardi"), QStringLiteral("7"),
                                                QStringLiteral("12.345.678")}});
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Esito                    Chiamate      Minuti"));
    EXPECT_EQ(lines[1], QString(45, QLatin1Char('-')));
    EXPECT_EQ(lines[2], QStringLiteral("Positivo                    1.234           5"));
    EXPECT_EQ(lines[3], QStringLiteral("Da richiamare più tardi         7  12.345.678"));
    EXPECT_TRUE(statsTableLines({}).isEmpty());
}

TEST(StatsReport, TitleAndChartOnTheFirstPageThenTheTableAcrossPages) {
    QImage chart(400, 200, QImage::Format_ARGB32);
    chart.fill(Qt::blue);
    QStringList table;
    for (int i = 0; i < 120; ++i) // ten years of months
        table.append(QStringLiteral("2016-%1  %2").arg(i).arg(i * 3));
    const PreparedReport report =
        prepareStatsChart(QStringLiteral("Chiamate per mese, tutto il registro"), {chart}, table, kStatsNow);
    ASSERT_GE(report.pages.size(), 3);
    EXPECT_EQ(report.pageLayout.orientation(), QPageLayout::Landscape);
    EXPECT_EQ(only(report, 0, "txtTitolo").text, QStringLiteral("Chiamate per mese, tutto il registro"));
    const PreparedItem& picture = only(report, 0, "imgGrafico");
    EXPECT_EQ(picture.picture.size(), chart.size());
    EXPECT_GT(picture.rect.top(), only(report, 0, "txtTitolo").rect.bottom());
    // Every line of the table is printed once, in order, after the chart.
    QStringList printed;
    for (int page = 0; page < report.pages.size(); ++page)
        for (const PreparedItem* item : report.find(page, QStringLiteral("txtRiepilogo")))
            printed += item->text.split(QLatin1Char('\n'));
    EXPECT_EQ(printed, table);
    EXPECT_GT(only(report, 0, "txtRiepilogo").rect.top(), picture.rect.bottom());
}

// A chart in three parts (many operators): each picture whole and within its page, in order, then the
// table after the last one.
TEST(StatsReport, AChartInPartsPrintsEachPictureWholeBeforeTheTable) {
    QList<QImage> parts;
    for (const Qt::GlobalColor colour : {Qt::red, Qt::green, Qt::blue}) {
        QImage part(400, 200, QImage::Format_ARGB32);
        part.fill(colour);
        parts.append(part);
    }
    const QStringList table{QStringLiteral("Operatore  Chiamate"), QStringLiteral("Rossi Anna  3")};
    const PreparedReport report = prepareStatsChart(QStringLiteral("Operatori"), parts, table, kStatsNow);
    ASSERT_GE(report.pages.size(), 2);
    const char* const names[] = {"imgGrafico", "imgGrafico2", "imgGrafico3"};
    int lastPage = 0;
    double lastBottom = 0;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        int found = -1;
        for (int page = 0; page < report.pages.size(); ++page)
            if (!report.find(page, QString::fromLatin1(names[i])).isEmpty())
                found = page;
        ASSERT_GE(found, lastPage);
        const PreparedItem& picture = only(report, found, names[i]);
        EXPECT_EQ(picture.picture.pixel(0, 0), parts[i].pixel(0, 0));
        EXPECT_LE(picture.rect.bottom(), report.printableSize.height());
        if (found == lastPage) {
            EXPECT_GE(picture.rect.top(), lastBottom);
        }
        lastPage = found;
        lastBottom = picture.rect.bottom();
    }
    const QList<const PreparedItem*> memo = report.find(lastPage, QStringLiteral("txtRiepilogo"));
    bool after = memo.isEmpty() ? false : memo.first()->rect.top() >= lastBottom;
    for (int page = lastPage + 1; page < report.pages.size() && !after; ++page)
        after = !report.find(page, QStringLiteral("txtRiepilogo")).isEmpty();
    EXPECT_TRUE(after);
}

} // namespace
