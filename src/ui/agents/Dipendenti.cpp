#include "ui/agents/Dipendenti.h"

#include "core/cards/agentcard.h"
#include "core/records/records.h"
#include "core/storage/textfield.h"
#include "ui/agents/Lavori_Svolti.h"
#include "ui/agents/Slideshow_Dipendenti.h"
#include "ui/agents/WebCam.h"
#include "ui/agents/Zoom.h"
#include "ui/agents/agentcardoutput.h"
#include "ui/agents/agentphoto.h"
#include "ui/app/guida.h"
#include "ui/attachments/AllegaCartella.h"
#include "ui/cards/cardbinding.h"
#include "ui/cards/cardparts.h"
#include "ui/cards/cardwidgets.h"
#include "ui/common/helptexts.h"
#include "ui/common/hintline.h"
#include "ui/common/picturebox.h"
#include "ui/common/services.h"
#include "ui/search/Trova.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrisa {

namespace {

// The file chooser of btnCaricaFoto (dlgFile); btnSalvaFoto's is choosePhotoFileToSave (agentphoto.h).
const QString kDlgFileTitle = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
const QString kDlgFileFilter = QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)");

const QString kDesignHint = QStringLiteral("Pronto per archiviare una nuova scheda...");

// Where each box of kAgentCardFields stands: its section, row, first of the section's twelve columns and
// columns spanned. Same order as the field table, which is also the tab order.
constexpr std::array<CardPlacement, kAgentCardFields.size()> kPlacements{{
    {0, 0, 0, 5},  {0, 0, 5, 1}, {0, 0, 6, 2}, {0, 0, 8, 4}, // Dipendente, Sesso, DataNasc, Cittadinanza
    {0, 1, 0, 5},  {0, 1, 5, 7},                             // LuogoNasc, Indirizzo
    {0, 2, 0, 5},  {0, 2, 5, 2}, {0, 2, 7, 5},               // Citta, Cap, Nazione
    {1, 0, 0, 4},  {1, 0, 4, 4}, {1, 0, 8, 4},               // CodFisc, Civile, PartitaIva
    {1, 1, 0, 6},  {1, 1, 6, 6},                             // Studio, Lingue
    {2, 0, 0, 5},  {2, 0, 5, 3}, {2, 0, 8, 4},               // Email, Tel, Cel
    {3, 0, 0, 4},  {3, 0, 4, 4}, {3, 0, 8, 4},               // Qualifica, Reparto, Disponibilita
    {3, 1, 0, 12},                                           // Mansioni
    {3, 2, 0, 5},  {3, 2, 5, 2}, {3, 2, 7, 5},               // Iban, DataAss, Retribuzione
    {3, 3, 0, 12},                                           // Note
}};
// Rows of captions and boxes in each section: a taller screen spreads the sections in proportion.
constexpr std::array<int, 4> kSectionRows{3, 2, 1, 4};
constexpr int kColumns = 12;

} // namespace

TfrmDipendenti::TfrmDipendenti(QWidget* parent) : CardScreen(parent) {
    setupCard(
        QStringLiteral("frmDipendenti"), QStringLiteral(" Ombrisa - Agenti e Prestazioni"),
        cardScreenStyle(QStringLiteral("frmDipendenti"), QStringLiteral("#3d7fa6")) +
            QStringLiteral("QFrame#panFoto { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfdff,"
                           " stop:1 #e3eef7); border: 1px solid #9ec0da; border-radius: 8px; }"
                           "QFrame#panFoto QToolButton { color: #1f3b57; font: bold 8pt 'Tahoma'; border-radius: 4px; }"
                           "QFrame#panFoto QToolButton#btnLavori { background: #245a80; color: white;"
                           " font: bold 10pt 'Tahoma'; border-radius: 6px; padding: 4px 10px; }"
                           "QFrame#panFoto QToolButton#btnLavori:hover { background: #2f6f9c; }"));

    const SideColumnFrame outline =
        makeSideColumnFrame(kDesignHint, kAgentNavigatorHints, [this] { return buildPhotoPanel(); });
    QWidget* sections = outline.sections;
    QFrame* column = outline.column;
    QFrame* band = outline.band;

    // Four framed sections; spare height goes above the captions, so that each caption stays by its box.
    auto* stack = new QVBoxLayout(sections);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);
    CardLayout layout{kAgentCardFields, kPlacements, kDipendenteFields, {}, CardLook{28, 40, {}, true}, {}, {}, {}};
    for (std::size_t s = 0; s < kSectionRows.size(); ++s) {
        QFrame* frame = makeSectionFrame(sections, static_cast<int>(s) + 1);
        QGridLayout* grid = makeFieldGrid(kColumns, 12, 4);
        grid->setContentsMargins(12, 6, 12, 10);
        frame->setLayout(grid);
        for (int r = 0; r < kSectionRows[s]; ++r)
            grid->setRowStretch(r * 2, 1);
        layout.areas.append({frame, grid});
        stack->addWidget(frame, kSectionRows[s]);
    }
    buildFields(layout);
    txtDipendente = qobject_cast<QLineEdit*>(field(QStringLiteral("txtDipendente")));
    txtCodFisc = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCodFisc")));
    txtPartitaIva = qobject_cast<QLineEdit*>(field(QStringLiteral("txtPartitaIva")));
    txtEmail = qobject_cast<QLineEdit*>(field(QStringLiteral("txtEmail")));
    txtCel = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCel")));
    txtIban = qobject_cast<QLineEdit*>(field(QStringLiteral("txtIban")));

    buildToolbar(column);

    // The hidden button that takes the focus at the start of a save. It stays "shown" at no size so
    // that it can hold the focus; the Tab key never reaches it.
    btnFocus = new QPushButton(this);
    btnFocus->setObjectName(QStringLiteral("btnFocus"));
    btnFocus->setFocusPolicy(Qt::ClickFocus);
    btnFocus->setFlat(true);
    btnFocus->setGeometry(0, 0, 0, 0);
    btnFocus->setStyleSheet(QStringLiteral("border: none; background: transparent;"));
    btnFocus->setAccessibleName(QStringLiteral("Salvataggio della scheda"));

    addAttachmentLabels();

    // Moving over the screen, its panels, frames, captions and the photo box empties the hint line.
    hints().clearOver(this);
    hints().clearOver(sections);
    hints().clearOver(column);
    hints().clearOver(band);
    hints().clearOver(panInfo);
    for (QFrame* f : findChildren<QFrame*>())
        if (f->property("section").toBool() || f->objectName() == QLatin1String("panFoto"))
            hints().clearOver(f);
    hints().clearOver(imgFoto);

    auto binding = std::make_unique<CardBinding>(this, lblPosizione, kDipendenteFields);
    binding->afterShow = [this] { loadCardPhoto(); };
    binding->afterSave = [this] { saveCardPhoto(); };
    binding->onClear = [this] {
        showBlankPhoto(false);
        return true; // clearing the card never reports a failure
    };
    binding->onDuplicate = [this] { showBlankPhoto(false); };
    showBlankPhoto(false);
    finishCard(std::move(binding), agentCardRules());

    // The photo's commands read apart from the card's ("Salva" is the card's).
    btnCaricaFoto->setAccessibleName(QStringLiteral("Carica foto"));
    btnSalvaFoto->setAccessibleName(QStringLiteral("Salva foto"));
    btnCancFoto->setAccessibleName(QStringLiteral("Cancella foto"));
    btnZoomFoto->setAccessibleName(QStringLiteral("Zoom foto"));
    orderTabs({}, sections, {findChild<QWidget*>(QStringLiteral("panFoto")), column, band});

    connect(cmdSlideshow, &QToolButton::clicked, this, &TfrmDipendenti::cmdSlideshowClick);
    connectAgentCardOutput(this, cmdStampa, cmdAnteprima);
    connect(btnFocus, &QPushButton::clicked, this, &TfrmDipendenti::btnFocusClick);
    connect(btnCaricaFoto, &QToolButton::clicked, this, &TfrmDipendenti::btnCaricaFotoClick);
    connect(btnSalvaFoto, &QToolButton::clicked, this, &TfrmDipendenti::btnSalvaFotoClick);
    connect(btnCancFoto, &QToolButton::clicked, this, &TfrmDipendenti::btnCancFotoClick);
    connect(btnZoomFoto, &QToolButton::clicked, this, &TfrmDipendenti::btnZoomFotoClick);
    connect(btnLavori, &QToolButton::clicked, this, &TfrmDipendenti::btnLavoriClick);
    connect(cmdTrova, &QToolButton::clicked, this, [this] { openTrovaDipendenti(this, kModeDipendenti); });
    connect(cmdFile, &QToolButton::clicked, this, [this] { openAllegaCartella(this); });
    connect(btnWebcam, &QToolButton::clicked, this,
            [this] { openWebCam(this, [this](const QPixmap& photo) { importPhoto(photo); }); });
}

QWidget* TfrmDipendenti::buildPhotoPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panFoto"));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);

    imgFoto = new PictureBox(panel);
    imgFoto->setObjectName(QStringLiteral("imgFoto"));
    imgFoto->setFixedSize(kPhotoWidth, kPhotoHeight);
    imgFoto->setStyleSheet(QStringLiteral("#imgFoto { background: white; border: 1px solid #9ec0da; }"));
    imgFoto->setAttribute(Qt::WA_StyledBackground);
    column->addWidget(imgFoto, 0, Qt::AlignHCenter);

    imgBianco = new PictureBox(panel);
    imgBianco->setObjectName(QStringLiteral("imgBianco"));
    imgBianco->setFixedSize(kPhotoWidth, kPhotoHeight);
    imgBianco->setPixmap(blankAgentPhoto());
    imgBianco->hide();

    struct PhotoButton {
        QToolButton** member;
        const char* name;
        const char* art;
        const char* caption;
        const char* hint;
    };
    const std::array<PhotoButton, 5> buttons{{
        {&btnCaricaFoto, "btnCaricaFoto", ":/agents/art/carica.svg", "Carica", "Carica una foto esistente."},
        {&btnWebcam, "btnWebcam", ":/agents/art/webcam.svg", "Webcam", "Cattura la foto con una webcam."},
        {&btnSalvaFoto, "btnSalvaFoto", ":/agents/art/salvafoto.svg", "Salva", "Salva la foto su disco."},
        {&btnCancFoto, "btnCancFoto", ":/agents/art/cancfoto.svg", "Cancella", "Cancella la foto."},
        {&btnZoomFoto, "btnZoomFoto", ":/agents/art/zoom.svg", "Zoom",
         "Visualizza la foto nelle sue dimensioni reali."},
    }};
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    for (const PhotoButton& b : buttons) {
        QToolButton* button = makeCommandPicture(panel, QString::fromLatin1(b.name), QString::fromLatin1(b.art),
                                                 QString::fromUtf8(b.caption), 26);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        hints().setHint(button, QString::fromUtf8(b.hint));
        *b.member = button;
        row->addWidget(button);
    }
    column->addLayout(row);

    btnLavori = makeCommandPicture(panel, QStringLiteral("btnLavori"), QStringLiteral(":/agents/art/lavori.svg"),
                                   QStringLiteral("Prestazioni"), 26);
    btnLavori->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnLavori->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    btnLavori->setMinimumHeight(40);
    hints().setHint(btnLavori, QStringLiteral("Registra le prestazioni svolte dall'agente."));
    column->addStretch(1);
    column->addWidget(btnLavori);
    return panel;
}

void TfrmDipendenti::buildToolbar(QWidget* column) {
    const std::array<CommandDef, 10> commands{{
        {&cmdNuovo, "cmdNuovo", ":/cards/art/nuovo.svg", "Nuovo", kAgentNavigatorHints.nuovo},
        {&cmdDuplica, "cmdDuplica", ":/cards/art/duplica.svg", "Duplica", kAgentNavigatorHints.duplica},
        {&cmdFile, "cmdFile", ":/cards/art/allega.svg", "Allega file", QStringLiteral("Allega file alla scheda.")},
        {&cmdSalva, "cmdSalva", ":/cards/art/salva.svg", "Salva", kAgentNavigatorHints.salva},
        {&cmdTrova, "cmdTrova", ":/cards/art/trova.svg", "Trova", QStringLiteral("Trova una scheda in archivio.")},
        {&cmdAnteprima, "cmdAnteprima", ":/cards/art/anteprima.svg", "Anteprima",
         QStringLiteral("Visualizza l'anteprima di stampa della scheda.")},
        {&cmdStampa, "cmdStampa", ":/cards/art/stampa.svg", "Stampa", QStringLiteral("Stampa la scheda.")},
        {&cmdSlideshow, "cmdSlideshow", ":/agents/art/slideshow.svg", "Slide Show",
         QStringLiteral("Esegui lo slide show.")},
        {&cmdGuida, "cmdGuida", ":/cards/art/guida.svg", "Guida", QStringLiteral("Visualizza la guida.")},
        {&cmdEsci, "cmdEsci", ":/cards/art/esci.svg", "Esci", QStringLiteral("Esci da questa schermata di lavoro.")},
    }};
    fillCommandColumn(column, hints(), commands, 96);
}

void TfrmDipendenti::importPhoto(const QPixmap& picture) {
    if (picture.isNull()) {
        showBlankPhoto(false);
        return;
    }
    imgFoto->setPixmap(picture);
    photoStandIn_ = false;
}

void TfrmDipendenti::showBlankPhoto(bool standIn) {
    imgFoto->setPixmap(imgBianco->pixmap());
    photoStandIn_ = standIn;
}

void TfrmDipendenti::loadCardPhoto() {
    const PictureLoad photo = readAgentPhoto(lblPosizione->text());
    if (!photo.ok()) {
        showBlankPhoto(true);
        if (!photo.error.isEmpty())
            showWarning(this, photo.error);
        return;
    }
    imgFoto->setPixmap(QPixmap::fromImage(photo.image));
    photoStandIn_ = false;
}

// After every save the picture of the photo box becomes the card's photo file, the blank picture
// included. One exception: a blank picture that stands in for a photo file that could not be read (or
// for a picture that could not be written) does not replace a file that exists; only the user's own
// loading, capturing or removing of a photo does.
void TfrmDipendenti::saveCardPhoto() {
    const QString number = lblPosizione->text();
    if (photoStandIn_ && agentPhotoExists(number))
        return;
    if (!writeAgentPhoto(imgFoto->pixmap().toImage(), number))
        showBlankPhoto(true);
}

void TfrmDipendenti::saveCard() {
    btnFocus->setFocus(Qt::OtherFocusReason);
    CardScreen::saveCard();
}

void TfrmDipendenti::btnFocusClick() {
    txtDipendente->setText(trimText(txtDipendente->text()));
}

void TfrmDipendenti::cmdSlideshowClick() {
    execDialog(new TfrmSlideshow_Dipendenti(this));
}

void TfrmDipendenti::showHelp() {
    ombrisa::showHelp(this, kHelpDipendentiTitle, helpDipendenti());
}

void TfrmDipendenti::btnCaricaFotoClick() {
    const QString path = fileChooser().openFile(this, kDlgFileTitle, QString(), kDlgFileFilter, QStringLiteral("jpg"));
    if (path.isEmpty())
        return;
    const PictureLoad picture = loadPicture(path);
    if (!picture.ok()) {
        showBlankPhoto(false);
        showWarning(this, picture.error);
        return;
    }
    imgFoto->setPixmap(QPixmap::fromImage(picture.image));
    photoStandIn_ = false;
}

void TfrmDipendenti::btnSalvaFotoClick() {
    const QString path = choosePhotoFileToSave(this);
    if (path.isEmpty())
        return;
    // A name the chooser left without an extension still gets a JPEG.
    const QByteArray format = QFileInfo(path).suffix().isEmpty() ? QByteArrayLiteral("jpg") : QByteArray();
    if (!writePicture(imgFoto->pixmap().toImage(), path, format))
        showBlankPhoto(true);
}

void TfrmDipendenti::btnCancFotoClick() {
    showBlankPhoto(false);
}

void TfrmDipendenti::btnZoomFotoClick() {
    auto* zoom = new TfrmZoom(this);
    zoom->imgFoto->setPixmap(imgFoto->pixmap());
    execDialog(zoom);
}

void TfrmDipendenti::btnLavoriClick() {
    if (const auto refusal = lavoriRefusal(lblPosizione->text(), txtDipendente->text(), txtCodFisc->text())) {
        showWarning(this, refusal->warning);
        if (QWidget* box = field(refusal->focus))
            box->setFocus(Qt::OtherFocusReason);
        return;
    }
    openWorkRegister(this, txtDipendente, txtCodFisc);
}

} // namespace ombrisa
