// Program-wide rules met on every screen: list boxes and the mouse wheel, reading pictures, the file
// choosers' default extension and Italian dates, the look of dialogs and message boxes, the logo.

#include "report/layouts/pictures.h"
#include "ui/app/look.h"
#include "ui/common/dialoglook.h"
#include "ui/common/filedialogs.h"
#include "ui/common/picturebox.h"
#include "ui/common/pictureloader.h"
#include "ui/common/wheelguard.h"
#include "ui/validators/codfiscdialog.h"
#include "uisupport/fakes.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTest>
#include <QWheelEvent>
#include <functional>

using namespace ombrisa;
using ombrisa::test::UiTest;

namespace {

// One notch of the wheel over the middle of `widget`, delivered as the window system delivers it
// (through the application, so that application-wide filters see it).
void turnWheel(QWidget* widget, int notches) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

struct WheelCase {
    const char* name;
    std::function<QWidget*(QWidget*)> make; // the box, in the window, with a value in the middle
    std::function<QString(QWidget*)> value;
};

QComboBox* comboWithDays(QWidget* parent, bool editable) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    for (int day = 1; day <= 31; ++day)
        combo->addItem(QString::number(day));
    combo->setCurrentIndex(14);
    return combo;
}

} // namespace

TEST(WheelGuard, UnfocusedListAndNumberBoxesIgnoreTheWheelFocusedOnesTakeIt) {
    const QList<WheelCase> cases{
        {"list", [](QWidget* w) { return comboWithDays(w, false); },
         [](QWidget* b) { return static_cast<QComboBox*>(b)->currentText(); }},
        {"list with an edit box", [](QWidget* w) { return comboWithDays(w, true); },
         [](QWidget* b) { return static_cast<QComboBox*>(b)->currentText(); }},
        {"number",
         [](QWidget* w) {
             auto* spin = new QSpinBox(w);
             spin->setRange(0, 100);
             spin->setValue(50);
             return spin;
         },
         [](QWidget* b) { return static_cast<QSpinBox*>(b)->text(); }},
        {"date",
         [](QWidget* w) {
             auto* date = new QDateEdit(QDate(2024, 3, 5), w);
             return date;
         },
         [](QWidget* b) { return static_cast<QDateEdit*>(b)->text(); }},
    };
    for (const WheelCase& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        window.resize(300, 120);
        auto* other = new QLineEdit(&window);
        other->setGeometry(10, 10, 200, 26);
        QWidget* box = c.make(&window);
        box->setGeometry(10, 60, 200, 26);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus(Qt::OtherFocusReason);
        ASSERT_FALSE(box->hasFocus());

        const QString before = c.value(box);
        turnWheel(box, 1);
        turnWheel(box, -3);
        // An editable list's inner edit box passes the wheel to the list: judged the same way.
        if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
            turnWheel(combo->lineEdit(), 2);
        EXPECT_EQ(c.value(box), before) << "a passing mouse changed the box";
        EXPECT_FALSE(wheelMayChange(box));

        box->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(box->hasFocus());
        EXPECT_TRUE(wheelMayChange(box));
        turnWheel(box, -1);
        EXPECT_NE(c.value(box), before) << "the box with the focus takes the wheel";
    }
}

TEST(WheelGuard, OtherWidgetsAreLeftAlone) {
    QLineEdit edit;
    EXPECT_TRUE(wheelMayChange(&edit));
    QWidget plain;
    EXPECT_TRUE(wheelMayChange(&plain));
}

TEST(PictureLoader, TheProgramsReadersTakeCameraPhotos) {
    // Set by the application's set-up, which the test programs share with the program.
    EXPECT_EQ(QImageReader::allocationLimit(), kPictureAllocationLimitMb);
    EXPECT_GE(qint64(kPictureAllocationLimitMb) * 1024 * 1024, qint64(8000) * 6000 * 4 * 2);
}

class PictureLoaderTest : public UiTest {};

TEST_F(PictureLoaderTest, APictureThatCannotBeReadSaysWhyInItalian) {
    write(QStringLiteral("testo.jpg"), QByteArray("not a picture"));
    write(QStringLiteral("tagliata.jpg"), QByteArray("\xFF\xD8\xFF\xE0 cut off"));
    QImage good(40, 30, QImage::Format_RGB32);
    good.fill(Qt::darkCyan);
    ASSERT_TRUE(good.save(path(QStringLiteral("buona.jpg")), "JPG"));
    QFile::copy(path(QStringLiteral("buona.jpg")), path(QStringLiteral("buona.bmp"))); // wrong extension
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("cartella.jpg")));

    const QList<std::pair<QString, QString>> failures{
        {QStringLiteral("manca.jpg"),
         QStringLiteral("Impossibile leggere l'immagine \"manca.jpg\": il file non esiste.")},
        {QStringLiteral("cartella.jpg"),
         QStringLiteral("Impossibile leggere l'immagine \"cartella.jpg\": il file non esiste.")},
        {QStringLiteral("testo.jpg"), QStringLiteral("Impossibile leggere l'immagine \"testo.jpg\": il file non "
                                                     "contiene un'immagine in un formato riconosciuto.")},
        {QStringLiteral("tagliata.jpg"),
         QStringLiteral("Impossibile leggere l'immagine \"tagliata.jpg\": il file è danneggiato o incompleto.")},
    };
    for (const auto& [name, message] : failures) {
        const PictureLoad load = loadPicture(path(name));
        EXPECT_FALSE(load.ok()) << name.toStdString();
        EXPECT_TRUE(load.image.isNull());
        EXPECT_EQ(load.error, message);
    }
    // Decoded by content, whatever the extension says.
    const PictureLoad load = loadPicture(path(QStringLiteral("buona.bmp")));
    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    EXPECT_EQ(load.image.size(), QSize(40, 30));
    EXPECT_TRUE(load.error.isEmpty());
}

class FileChoosersTest : public UiTest {};

TEST_F(FileChoosersTest, ALoadChooserTakesABareNameWithTheDefaultExtension) {
    write(QStringLiteral("p.jpg"), QByteArray("x"));
    write(QStringLiteral("q"), QByteArray("x")); // a file that really has no extension
    const QString d = dir.path() + QLatin1Char('/');
    const QList<std::tuple<QString, QString, QString>> cases{
        // typed, default extension, file taken
        {d + "p", "jpg", d + "p.jpg"},
        {d + "nuova", "jpg", d + "nuova.jpg"}, // missing either way: the dialog says so for p.jpg's name
        {d + "q", "jpg", d + "q"},             // exists as typed
        {d + "p.bmp", "jpg", d + "p.bmp"},     // has an extension
        {d + "p", "", d + "p"},                // no default extension
        {"", "jpg", ""},                       // cancelled
        {d, "jpg", d},                         // a folder
    };
    for (const auto& [typed, suffix, expected] : cases)
        EXPECT_EQ(withDefaultSuffixToOpen(typed, suffix), expected) << typed.toStdString();

    // The test chooser answers the same way, so the screens are tested with what the user gets.
    files.expectOpen(d + "p");
    EXPECT_EQ(fileChooser().openFile(nullptr, QStringLiteral("Apri"), QString(), QString(), QStringLiteral("jpg")),
              d + "p.jpg");
}

TEST_F(FileChoosersTest, DatesAndSizesInTheChooserAreItalian) {
    write(QStringLiteral("foto.jpg"), QByteArray(2500, 'x'));
    const QString file = path(QStringLiteral("foto.jpg"));
    {
        QFile handle(file);
        ASSERT_TRUE(handle.open(QIODevice::ReadWrite));
        ASSERT_TRUE(handle.setFileTime(QDateTime(QDate(2026, 12, 10), QTime(9, 5)), QFileDevice::FileModificationTime));
    }

    QFileDialog dialog(nullptr, QStringLiteral("Apri"), dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    italianiseFileDialog(dialog);
    ASSERT_NE(dialog.proxyModel(), nullptr);
    auto* model = qobject_cast<QFileSystemModel*>(dialog.proxyModel()->sourceModel());
    ASSERT_NE(model, nullptr);
    QModelIndex row;
    const QString expectedDate = QLocale(QLocale::Italian, QLocale::Italy)
                                     .toString(QDateTime(QDate(2026, 12, 10), QTime(9, 5)), QLocale::ShortFormat);
    // The model reads the folder in the background.
    for (int i = 0; i < 200; ++i) {
        row = dialog.proxyModel()->mapFromSource(model->index(file));
        if (row.isValid() && row.sibling(row.row(), 3).data().toString() == expectedDate)
            break;
        QTest::qWait(10);
    }
    ASSERT_TRUE(row.isValid());
    EXPECT_EQ(row.sibling(row.row(), 3).data().toString(), expectedDate); // "10/12/26, 09:05", not "10 Dec"
    EXPECT_EQ(row.sibling(row.row(), 1).data().toString(),
              QLocale(QLocale::Italian, QLocale::Italy).formattedDataSize(2500));
}

// The check dialogs and the message boxes wear the look of the program's other dialogs.
TEST(DialogLook, CheckDialogsAndMessageBoxesLookLikeTheOtherDialogs) {
    QWidget shellWindow;
    applyShellLook(&shellWindow);

    TfrmCodFisc check;
    EXPECT_EQ(check.palette().color(QPalette::Window), shellWindow.palette().color(QPalette::Window));
    EXPECT_EQ(check.styleSheet(), shellWindow.styleSheet());
    EXPECT_TRUE(check.btnControlla->property("primary").toBool());
    EXPECT_FALSE(check.btnChiudi->property("primary").toBool());

    QMessageBox box(QMessageBox::Question, QStringLiteral("Conferma"), QStringLiteral("Continuare?"),
                    QMessageBox::Yes | QMessageBox::No);
    applyMessageBoxLook(box);
    EXPECT_EQ(box.styleSheet(), shellWindow.styleSheet());
    EXPECT_TRUE(box.button(QMessageBox::Yes)->property("primary").toBool());
    EXPECT_FALSE(box.button(QMessageBox::No)->property("primary").toBool());
    EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes)); // as the box would choose it itself
    EXPECT_TRUE(box.button(QMessageBox::Yes)->icon().isNull());
    // Drawn blue, as the shell's main buttons (the style sheet saw the property).
    box.ensurePolished();
    const QColor yes = box.button(QMessageBox::Yes)->grab().toImage().pixelColor(6, 12);
    const QColor no = box.button(QMessageBox::No)->grab().toImage().pixelColor(6, 12);
    EXPECT_GT(yes.blue() - yes.red(), 60) << yes.name().toStdString();
    EXPECT_LT(no.blue() - no.red(), 40) << no.name().toStdString();
}

// The logo on printed cards is the one the screens show.
TEST(ProductLogo, ReportsPrintTheScreensLogo) {
    const QImage printed = report::productLogo();
    ASSERT_EQ(printed.size(), QSize(256, 196));
    QImage screens(printed.size(), QImage::Format_ARGB32_Premultiplied);
    screens.fill(Qt::transparent);
    QSvgRenderer logo(QStringLiteral(":/app/art/logo.svg"));
    ASSERT_TRUE(logo.isValid());
    QPainter p(&screens);
    p.setRenderHint(QPainter::Antialiasing);
    logo.render(&p, QRectF(30, 0, 196, 196));
    p.end();
    EXPECT_EQ(printed, screens);
    // Blue at the top of the square, white in the bubble: not the old orange square.
    const QColor top = printed.pixelColor(128, 12);
    EXPECT_GT(top.blue(), top.red());
    EXPECT_EQ(printed.pixelColor(128, 60), QColor(Qt::white));
}

// A photo far larger than its box is drawn from a copy scaled to the box: the same picture.
TEST(PictureBoxLargePhoto, DrawsTheWholePhotoFittedInTheBox) {
    QImage photo(3000, 2000, QImage::Format_RGB32);
    photo.fill(QColor(200, 30, 30));
    {
        QPainter p(&photo);
        p.fillRect(1500, 0, 1500, 2000, QColor(30, 30, 200));
    }
    PictureBox box;
    box.resize(300, 300);
    box.setPixmap(QPixmap::fromImage(photo));
    for (int round = 0; round < 2; ++round) { // the second time from the scaled copy
        const QImage shown = box.grab().toImage();
        EXPECT_EQ(shown.pixelColor(40, 150), QColor(200, 30, 30));
        EXPECT_EQ(shown.pixelColor(260, 150), QColor(30, 30, 200));
        // Fitted keeping its proportions (300 × 200, from y = 50): nothing of it above.
        EXPECT_NE(shown.pixelColor(40, 20), QColor(200, 30, 30));
        EXPECT_EQ(shown.pixelColor(40, 60), QColor(200, 30, 30));
    }
    EXPECT_EQ(box.pixmap().size(), QSize(3000, 2000)); // the box keeps the full photo
}
