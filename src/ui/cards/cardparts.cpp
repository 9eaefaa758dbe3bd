#include "ui/cards/cardparts.h"

#include "ui/cards/cardwidgets.h"
#include "ui/common/hintline.h"
#include "ui/common/picturebox.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSizePolicy>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace ombrisa {

QFont cardBoxFont() {
    return QFont(QStringLiteral("Verdana"), 12, QFont::Bold);
}

QFont cardCaptionFont() {
    return QFont(QStringLiteral("Tahoma"), 9, QFont::Bold);
}

QString cardScreenStyle(const QString& formName, const QString& topColour) {
    return QStringLiteral(
               "#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, stop:0.55 #d9e8f2,"
               " stop:1 #ffffff); }"
               "QFrame[section=\"true\"] { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfdff,"
               " stop:1 #e3eef7); border: 1px solid #9ec0da; border-radius: 8px; }"
               "QLabel[caption=\"true\"] { color: #1f3b57; background: transparent; }"
               "QFrame#panComandi { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #ffffff,"
               " stop:1 #e6f0f7); border: 1px solid #9ec0da; border-radius: 8px; }"
               "QFrame#panComandi QToolButton { color: #1f3b57; font: bold 8pt 'Tahoma'; padding: 1px; }"
               "QFrame#panBanda { background: #245a80; border-radius: 6px; }"
               "QLabel#panInfo { color: white; background: transparent; }"
               "QFrame#panBanda QToolButton, QFrame[section=\"true\"] QToolButton { border-radius: 4px; }"
               // A picture reached with Tab shows it: the same orange as the boxes' focus frame.
               "#%1 QToolButton:focus { background: #fff1cc; border: 2px solid #e08a00; border-radius: 4px; }")
        .arg(formName, topColour);
}

QString cardBoxStyle() {
    return QStringLiteral("QLineEdit, QComboBox { background: white; border: 1px solid #7fa7c6; border-radius: 3px;"
                          " padding: 1px 4px; color: #10263a; }"
                          "QComboBox::drop-down { border-left: 1px solid #b8d0e2; width: 18px; }"
                          // A style sheet that styles the button drops the platform's arrow: draw ours.
                          "QComboBox::down-arrow { image: url(:/cards/art/giu.svg); width: 12px; height: 12px; }");
}

HintBand makeHintBand(QWidget* screen, const QString& designHint) {
    auto* band = new QFrame(screen);
    band->setObjectName(QStringLiteral("panBanda"));
    auto* panInfo = new QLabel(designHint, band);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFont(QFont(QStringLiteral("Tahoma"), 12));
    panInfo->setMinimumWidth(200);
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(12, 4, 8, 4);
    row->addWidget(panInfo, 1);
    return {band, panInfo, row};
}

QFrame* makeSectionFrame(QWidget* parent, int number) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("shpSezione%1").arg(number, 2, 10, QLatin1Char('0')));
    frame->setProperty("section", true);
    return frame;
}

PictureBox* makeSectionPicture(QFrame* section, int number, const char* art) {
    auto* picture = new PictureBox(QString::fromLatin1(art), section);
    picture->setObjectName(QStringLiteral("imgSezione%1").arg(number, 2, 10, QLatin1Char('0')));
    picture->setFixedSize(44, 44);
    return picture;
}

QGridLayout* makeFieldGrid(int columns, int horizontalSpacing, int verticalSpacing) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(horizontalSpacing);
    grid->setVerticalSpacing(verticalSpacing);
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
    return grid;
}

QLabel* makeCaption(QWidget* parent, const QString& name, const QString& text, QWidget* box) {
    auto* caption = new QLabel(text, parent);
    caption->setObjectName(name);
    caption->setProperty("caption", true);
    caption->setFont(cardCaptionFont());
    caption->setBuddy(box);
    return caption;
}

QHBoxLayout* placeUnderCaption(QGridLayout* grid, QLabel* caption, QWidget* box, int row, int column, int span) {
    grid->addWidget(caption, row, column, 1, span, Qt::AlignLeft | Qt::AlignBottom);
    auto* cell = new QHBoxLayout;
    cell->setSpacing(4);
    cell->addWidget(box, 1);
    grid->addLayout(cell, row + 1, column, 1, span);
    return cell;
}

QToolButton* makeSideButton(QWidget* parent, HintLine& hints, const char* name, const char* art, const char* hint) {
    QToolButton* b = makeCommandPicture(parent, QString::fromLatin1(name), QString::fromLatin1(art), QString(), 24);
    b->setFixedSize(32, 32);
    hints.setHint(b, QString::fromUtf8(hint));
    return b;
}

namespace {

struct CheckButton {
    const char* control;
    const char* name;
    const char* art;
    const char* hint;
};
constexpr std::array<CheckButton, 5> kCheckButtons{{
    {"txtEmail", "btnEmail", ":/cards/art/email.svg", "Invia una e-mail all'indirizzo indicato."},
    {"txtCodFisc", "btnCodFisc", ":/cards/art/controlla.svg", "Controlla il codice fiscale."},
    {"txtCarta", "btnCarta", ":/cards/art/controlla.svg", "Controlla il numero di carta di credito."},
    {"txtPartitaIva", "btnPartitaIva", ":/cards/art/controlla.svg", "Controlla il numero di partita IVA."},
    {"txtIban", "btnIban", ":/cards/art/controlla.svg", "Controlla l'IBAN."},
}};

} // namespace

QToolButton* addCheckButton(QHBoxLayout* cell, QWidget* parent, HintLine& hints, const QString& control) {
    for (const CheckButton& c : kCheckButtons) {
        if (control == QLatin1String(c.control)) {
            QToolButton* b = makeSideButton(parent, hints, c.name, c.art, c.hint);
            cell->addWidget(b);
            return b;
        }
    }
    return nullptr;
}

void fillCommandColumn(QWidget* column, HintLine& hints, std::span<const CommandDef> commands, int minimumWidth,
                       int pictureSize) {
    auto* list = new QVBoxLayout(column);
    list->setContentsMargins(6, 6, 6, 6);
    list->setSpacing(0);
    for (const CommandDef& c : commands) {
        QToolButton* b = makeCommandPicture(column, QString::fromLatin1(c.name), QString::fromLatin1(c.art),
                                            QString::fromUtf8(c.caption), pictureSize);
        b->setMinimumWidth(minimumWidth);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        hints.setHint(b, c.hint);
        *c.member = b;
        list->addWidget(b);
    }
}

void clearHintsOver(HintLine& hints, QWidget* area) {
    hints.clearOver(area);
    for (QFrame* f : area->findChildren<QFrame*>())
        hints.clearOver(f);
    for (QGroupBox* g : area->findChildren<QGroupBox*>())
        hints.clearOver(g);
    for (PictureBox* p : area->findChildren<PictureBox*>())
        hints.clearOver(p);
    for (QLabel* l : area->findChildren<QLabel*>())
        hints.clearOver(l);
}

} // namespace ombrisa
