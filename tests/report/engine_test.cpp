#include "report/reportpainter.h"
#include "reporttestutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace ombrisa::report;
using ombrisa::report::test::only;

namespace {

ReportLayout smallLayout() {
    ReportLayout layout;
    layout.reportName = "Prova";
    Band band{"Page", BandKind::ReportTitle, 100, false, {}};
    ReportObject text;
    text.name = "txtValore";
    text.rect = QRectF(10, 10, 200, 20);
    text.text = "design";
    band.objects.append(text);
    ReportObject picture;
    picture.name = "imgFoto";
    picture.kind = ObjectKind::Picture;
    picture.rect = QRectF(10, 40, 50, 50);
    band.objects.append(picture);
    layout.bands.append(band);
    return layout;
}

TEST(ReportLayout, ObjectsFoundByNameWithoutRegardToCase) {
    ReportLayout layout = smallLayout();
    EXPECT_TRUE(layout.setText(u"TXTVALORE", "uno"));
    EXPECT_EQ(layout.findObject(u"txtvalore")->text, "uno");
    EXPECT_FALSE(layout.setText(u"txtAltro", "due"));
    EXPECT_FALSE(layout.setText(u"imgFoto", "tre")); // a picture holds no text
    QImage image(4, 4, QImage::Format_RGB32);
    EXPECT_TRUE(layout.setPicture(u"IMGFOTO", image));
    EXPECT_FALSE(layout.setPicture(u"txtValore", image));
    EXPECT_EQ(layout.findBand(u"page"), &layout.bands[0]);
}

TEST(ReportLayout, PrintableAreaOfA4WithTenMillimetreMargins) {
    ReportLayout layout;
    EXPECT_NEAR(layout.printableSize().width(), mm(190), 1e-6);
    EXPECT_NEAR(layout.printableSize().height(), mm(277), 1e-6);
    layout.orientation = QPageLayout::Landscape;
    EXPECT_NEAR(layout.printableSize().width(), mm(277), 1e-6);
}

TEST(ReportPrepare, BandThatCannotSplitGoesToANewPage) {
    ReportLayout layout;
    for (int i = 0; i < 3; ++i) {
        Band band{QStringLiteral("b%1").arg(i), BandKind::MasterData, 400, false, {}};
        ReportObject box;
        box.name = QStringLiteral("box%1").arg(i);
        box.kind = ObjectKind::Box;
        box.rect = QRectF(0, 0, 100, 400);
        band.objects.append(box);
        layout.bands.append(band);
    }
    const PreparedReport report = prepare(layout);
    ASSERT_EQ(report.pages.size(), 2);
    EXPECT_EQ(only(report, 0, "box1").rect.top(), 400);
    EXPECT_EQ(only(report, 1, "box2").rect.top(), 0);
}

TEST(ReportPaint, PdfOfEveryKindAndFailureOnAFolderInTheWay) {
    QTemporaryDir dir;
    ReportLayout layout = smallLayout();
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    layout.setPicture(u"imgFoto", image);
    layout.setText(u"txtValore", "Perché già così");
    const PreparedReport report = prepare(layout);
    const QString path = dir.filePath("prova.pdf");
    ASSERT_TRUE(writePdfFile(report, path, {"Titolo", "Soggetto", "Autore", "Creatore"}).done());
    EXPECT_TRUE(ombrisa::report::test::pdfText(path).contains("Perché già così"));

    // A folder where the file should go: a clear message, nothing written.
    ASSERT_TRUE(QDir(dir.path()).mkdir("bloccato.pdf"));
    const OutputResult failed = writePdfFile(report, dir.filePath("bloccato.pdf"), {});
    EXPECT_TRUE(failed.failed());
    EXPECT_TRUE(failed.message.startsWith("Attenzione: non è stato possibile scrivere il file"))
        << failed.message.toStdString();
}

} // namespace
