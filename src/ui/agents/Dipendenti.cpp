#include "ui/agents/Dipendenti.h"

#include "ui/agents/Lavori_Svolti.h"
#include "ui/search/Trova.h"
#include "ui/agents/Slideshow_Dipendenti.h"
#include "ui/agents/WebCam.h"
#include "ui/agents/Zoom.h"
#include "ui/agents/agentcardoutput.h"
#include "ui/agents/agentphoto.h"
#include "ui/app/guida.h"
#include "ui/attachments/AllegaCartella.h"
#include "core/cards/agentcard.h"
#include "ui/cards/cardbinding.h"
#include "core/cards/cardnavigator.h"
#include "ui/cards/cardscreen.h"
#include "ui/cards/cardwidgets.h"
#include "ui/common/conventions.h"
#include "ui/common/focuslook.h"
#include "ui/common/helptexts.h"
#include "ui/common/hintline.h"
#include "ui/common/keyfilters.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "core/records/records.h"
#include "core/storage/textfield.h"
#include "ui/validators/codfiscdialog.h"
#include "ui/validators/ibandialog.h"
#include "ui/validators/partitaivadialog.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrisa {

TfrmDipendenti* frmDipendenti = nullptr;

namespace {

// The file chooser of btnCaricaFoto (dlgFile) and of btnSalvaFoto (dlgSalvaFile).
const QString kDlgFileTitle = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
const QString kDlgFileFilter = QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)");
const QString kDlgSalvaFileTitle = QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.");
const QString kDlgSalvaFileFilter = QStringLiteral("File Jpeg (*.jpg)");
const QString kProposedPhotoName = QStringLiteral("Foto.jpg");

const QString kDesignHint = QStringLiteral("Pronto per archiviare una nuova scheda...");

// Where each box of kAgentCardFields stands: its section (frame), its row in the section and how many
// of the section's twelve columns it spans. Same order as the field table, which is also the tab order.
struct Placement {
    int section;
    int row;
    int span;
};
constexpr std::array<Placement, kAgentCardFields.size()> kPlacements{{
    {0, 0, 5},  {0, 0, 1}, {0, 0, 2}, {0, 0, 4}, // Dipendente, Sesso, DataNasc, Cittadinanza
    {0, 1, 5},  {0, 1, 7},                       // LuogoNasc, Indirizzo
    {0, 2, 5},  {0, 2, 2}, {0, 2, 5},            // Citta, Cap, Nazione
    {1, 0, 4},  {1, 0, 4}, {1, 0, 4},            // CodFisc, Civile, PartitaIva
    {1, 1, 6},  {1, 1, 6},                       // Studio, Lingue
    {2, 0, 5},  {2, 0, 3}, {2, 0, 4},            // Email, Tel, Cel
    {3, 0, 4},  {3, 0, 4}, {3, 0, 4},            // Qualifica, Reparto, Disponibilita
    {3, 1, 12},                                  // Mansioni
    {3, 2, 5},  {3, 2, 2}, {3, 2, 5},            // Iban, DataAss, Retribuzione
    {3, 3, 12},                                  // Note
}};
constexpr int kSections = 4;
constexpr int kColumns = 12;

TypingFilter typingFilterOf(AgentFieldFilter f) {
    return f == AgentFieldFilter::Trim ? TypingFilter::Trim : TypingFilter::TrimUpper;
}

} // namespace

TfrmDipendenti::TfrmDipendenti(QWidget* parent) : QWidget(parent, Qt::Window) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmDipendenti"));
    setWindowTitle(QStringLiteral(" Ombrisa - Agenti e Prestazioni"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        cardScreenStyle(objectName(), QStringLiteral("#3d7fa6")) +
        QStringLiteral("QFrame#panFoto { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfdff,"
                       " stop:1 #e3eef7); border: 1px solid #9ec0da; border-radius: 8px; }"
                       "QFrame#panFoto QToolButton { color: #1f3b57; font: bold 8pt 'Tahoma'; border-radius: 4px; }"
                       "QFrame#panFoto QToolButton#btnLavori { background: #245a80; color: white;"
                       " font: bold 10pt 'Tahoma'; border-radius: 6px; padding: 4px 10px; }"
                       "QFrame#panFoto QToolButton#btnLavori:hover { background: #2f6f9c; }"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 8);
    root->setSpacing(8);
    auto* body = new QHBoxLayout;
    body->setSpacing(10);
    root->addLayout(body, 1);

    // Bottom band first: the hint line must exist before the controls register their hints.
    const HintBand hintBand = makeHintBand(this, kDesignHint);
    QFrame* band = hintBand.band;
    panInfo = hintBand.panInfo;
    hintLine_ = std::make_unique<HintLine>(panInfo);
    navigatorBar_ = new NavigatorBar(band, *hintLine_, kAgentNavigatorHints);
    cmdPrimo = navigatorBar_->cmdPrimo;
    cmdIndietro = navigatorBar_->cmdIndietro;
    cmdAvanti = navigatorBar_->cmdAvanti;
    cmdUltimo = navigatorBar_->cmdUltimo;
    lblPosizione = navigatorBar_->lblPosizione;
    hintBand.row->addWidget(navigatorBar_);
    root->addWidget(band);

    auto* sections = new QWidget(this);
    sections->setObjectName(QStringLiteral("panSezioni"));
    body->addWidget(sections, 1);
    body->addWidget(buildPhotoPanel());
    auto* column = new QFrame(this);
    column->setObjectName(QStringLiteral("panComandi"));
    body->addWidget(column);

    buildFields(sections);
    buildToolbar(column);

    // The hidden button that takes the focus at the start of a save. It stays "shown" at no size so
    // that it can hold the focus; the Tab key never reaches it.
    btnFocus = new QPushButton(this);
    btnFocus->setObjectName(QStringLiteral("btnFocus"));
    btnFocus->setFocusPolicy(Qt::ClickFocus);
    btnFocus->setFlat(true);
    btnFocus->setGeometry(0, 0, 0, 0);
    btnFocus->setStyleSheet(QStringLiteral("border: none; background: transparent;"));

    // Hidden attachment fields, with their design texts.
    const auto hidden = [this](const char* name, const char* designText) {
        auto* l = new QLabel(QString::fromLatin1(designText), this);
        l->setObjectName(QString::fromLatin1(name));
        l->hide();
        return l;
    };
    lblFile01 = hidden("lblFile01", "File01");
    lblFile02 = hidden("lblFile02", "File02");
    lblFile03 = hidden("lblFile03", "File03");
    lblDesc01 = hidden("lblDesc01", "Desc01");
    lblDesc02 = hidden("lblDesc02", "Desc02");
    lblDesc03 = hidden("lblDesc03", "Desc03");

    // Moving over the screen, its panels, frames, captions and the photo box empties the hint line.
    hintLine_->clearOver(this);
    hintLine_->clearOver(sections);
    hintLine_->clearOver(column);
    hintLine_->clearOver(band);
    hintLine_->clearOver(panInfo);
    for (QFrame* f : findChildren<QFrame*>())
        if (f->property("section").toBool() || f->objectName() == QLatin1String("panFoto"))
            hintLine_->clearOver(f);
    hintLine_->clearOver(imgFoto);

    // The record mapping, from the same tables that built the boxes.
    binding_ = std::make_unique<CardBinding>(this, lblPosizione, kDipendenteFields);
    for (std::size_t i = 0; i < kAgentCardFields.size(); ++i)
        binding_->bindText(fields_[i], kAgentCardFields[i].field);
    for (const auto& [label, fieldName] : kAgentAttachmentLabels) {
        auto* l = findChild<QLabel*>(QString::fromLatin1(label));
        binding_->bindText(l, fieldName);
        binding_->emptyOnDuplicate(l);
    }
    binding_->afterShow = [this] { loadCardPhoto(); };
    binding_->afterSave = [this] { saveCardPhoto(); };
    binding_->onClear = [this] {
        showBlankPhoto(false);
        return true; // clearing the card never reports a failure
    };
    binding_->onDuplicate = [this] { showBlankPhoto(false); };
    navigator_ = std::make_unique<CardNavigator>(agentCardRules(), *binding_);
    navigatorBar_->connectTo(*navigator_);

    connect(cmdNuovo, &QToolButton::clicked, this, [this] { navigator_->newCard(); });
    connect(cmdSalva, &QToolButton::clicked, this, &TfrmDipendenti::cmdSalvaClick);
    connect(cmdDuplica, &QToolButton::clicked, this, [this] { navigator_->duplicate(); });
    connect(cmdSlideshow, &QToolButton::clicked, this, &TfrmDipendenti::cmdSlideshowClick);
    connect(cmdGuida, &QToolButton::clicked, this, &TfrmDipendenti::cmdGuidaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &TfrmDipendenti::cmdEsciClick);
    connectAgentCardOutput(this, cmdStampa, cmdAnteprima);
    connect(btnFocus, &QPushButton::clicked, this, &TfrmDipendenti::btnFocusClick);
    connect(btnCaricaFoto, &QToolButton::clicked, this, &TfrmDipendenti::btnCaricaFotoClick);
    connect(btnSalvaFoto, &QToolButton::clicked, this, &TfrmDipendenti::btnSalvaFotoClick);
    connect(btnCancFoto, &QToolButton::clicked, this, &TfrmDipendenti::btnCancFotoClick);
    connect(btnZoomFoto, &QToolButton::clicked, this, &TfrmDipendenti::btnZoomFotoClick);
    connect(btnCodFisc, &QToolButton::clicked, this, &TfrmDipendenti::btnCodFiscClick);
    connect(btnPartitaIva, &QToolButton::clicked, this, &TfrmDipendenti::btnPartitaIvaClick);
    connect(btnIban, &QToolButton::clicked, this, &TfrmDipendenti::btnIbanClick);
    connect(btnEmail, &QToolButton::clicked, this, &TfrmDipendenti::btnEmailClick);
    connect(btnLavori, &QToolButton::clicked, this, &TfrmDipendenti::btnLavoriClick);
    connect(cmdTrova, &QToolButton::clicked, this, [this] { openTrovaDipendenti(this, kModeDipendenti); });

    showBlankPhoto(false);
    maximiseWindow(this);
    connect(cmdFile, &QToolButton::clicked, this, [this] { openAllegaCartella(this); });
    connect(btnWebcam, &QToolButton::clicked, this, [this] { openWebCam(this); });
}

TfrmDipendenti::~TfrmDipendenti() {
    if (frmDipendenti == this)
        frmDipendenti = nullptr;
}

QLineEdit* TfrmDipendenti::field(const QString& name) const {
    for (QLineEdit* e : fields_)
        if (e && e->objectName() == name)
            return e;
    return nullptr;
}

void TfrmDipendenti::buildFields(QWidget* area) {
    auto* stack = new QVBoxLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);

    std::array<QFrame*, kSections> frames{};
    std::array<QGridLayout*, kSections> grids{};
    for (int s = 0; s < kSections; ++s) {
        QFrame* frame = makeSectionFrame(area, s + 1);
        QGridLayout* grid = makeFieldGrid(kColumns, 12, 4);
        grid->setContentsMargins(12, 6, 12, 10);
        frame->setLayout(grid);
        frames[static_cast<std::size_t>(s)] = frame;
        grids[static_cast<std::size_t>(s)] = grid;
        stack->addWidget(frame);
    }

    std::array<int, kSections> nextColumn{};
    std::array<int, kSections> lastRow{-1, -1, -1, -1};
    QList<QWidget*> ring;
    for (std::size_t i = 0; i < kAgentCardFields.size(); ++i) {
        const AgentCardField& f = kAgentCardFields[i];
        const Placement p = kPlacements[i];
        const auto s = static_cast<std::size_t>(p.section);
        QFrame* frame = frames[s];
        if (p.row != lastRow[s]) {
            lastRow[s] = p.row;
            nextColumn[s] = 0;
        }
        const FieldDef& def =
            kDipendenteFields[static_cast<std::size_t>(fieldIndex(kDipendenteFields, QString::fromLatin1(f.field)))];
        const QString name = QString::fromLatin1(f.control);

        auto* box = new QLineEdit(frame);
        box->setObjectName(name);
        box->setFont(cardBoxFont());
        box->setMinimumHeight(28);
        box->setMinimumWidth(40);
        box->setMaxLength(static_cast<int>(def.capacity));
        if (f.centred)
            box->setAlignment(Qt::AlignCenter);
        switch (f.filter) {
        case AgentFieldFilter::None:
            break;
        case AgentFieldFilter::Digits:
            installDigitOnlyFilter(box);
            break;
        case AgentFieldFilter::TrimUpper:
        case AgentFieldFilter::Trim:
            installTypingFilter(box, typingFilterOf(f.filter));
            break;
        }
        applyFieldLook(box);

        QLabel* caption = makeCaption(frame, QStringLiteral("lbl") + name.mid(3), QString::fromUtf8(f.caption), box);
        auto* grid = grids[s];
        const int gridRow = p.row * 2;
        QHBoxLayout* cell = placeUnderCaption(grid, caption, box, gridRow, nextColumn[s], p.span);
        // Spare height goes above the captions, so that each caption stays by its box.
        grid->setRowStretch(gridRow, 1);
        nextColumn[s] += p.span;
        addCheckButton(cell, frame, *hintLine_, name);

        fields_[i] = box;
        ring.append(box);
    }

    // A taller screen spreads the sections in proportion to their rows.
    for (int s = 0; s < kSections; ++s)
        stack->setStretch(s, lastRow[static_cast<std::size_t>(s)] + 1);

    new EnterRing(ring, this);
    for (qsizetype i = 1; i < ring.size(); ++i)
        QWidget::setTabOrder(ring[i - 1], ring[i]);

    txtDipendente = field(QStringLiteral("txtDipendente"));
    txtCodFisc = field(QStringLiteral("txtCodFisc"));
    txtPartitaIva = field(QStringLiteral("txtPartitaIva"));
    txtEmail = field(QStringLiteral("txtEmail"));
    txtCel = field(QStringLiteral("txtCel"));
    txtIban = field(QStringLiteral("txtIban"));
    btnEmail = findChild<QToolButton*>(QStringLiteral("btnEmail"));
    btnCodFisc = findChild<QToolButton*>(QStringLiteral("btnCodFisc"));
    btnPartitaIva = findChild<QToolButton*>(QStringLiteral("btnPartitaIva"));
    btnIban = findChild<QToolButton*>(QStringLiteral("btnIban"));
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
        hintLine_->setHint(button, QString::fromUtf8(b.hint));
        *b.member = button;
        row->addWidget(button);
    }
    column->addLayout(row);

    btnLavori = makeCommandPicture(panel, QStringLiteral("btnLavori"), QStringLiteral(":/agents/art/lavori.svg"),
                                   QStringLiteral("Prestazioni"), 26);
    btnLavori->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnLavori->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    btnLavori->setMinimumHeight(40);
    hintLine_->setHint(btnLavori, QStringLiteral("Registra le prestazioni svolte dall'agente."));
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
    fillCommandColumn(column, *hintLine_, commands, 96);
}

void TfrmDipendenti::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown from the start menu: always a new, empty card. A window coming back from the task bar keeps
    // its card.
    if (!event->spontaneous())
        navigator_->newCard();
}

void TfrmDipendenti::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
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

void TfrmDipendenti::cmdSalvaClick() {
    btnFocus->setFocus(Qt::OtherFocusReason);
    navigator_->save();
}

void TfrmDipendenti::btnFocusClick() {
    txtDipendente->setText(trimText(txtDipendente->text()));
}

void TfrmDipendenti::cmdSlideshowClick() {
    execDialog(new TfrmSlideshow_Dipendenti(this));
}

void TfrmDipendenti::cmdGuidaClick() {
    showHelp(this, kHelpDipendentiTitle, helpDipendenti());
}

void TfrmDipendenti::cmdEsciClick() {
    close();
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
    const QString path = fileChooser().saveFile(this, kDlgSalvaFileTitle, kProposedPhotoName, kDlgSalvaFileFilter,
                                                QStringLiteral("jpg"));
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

void TfrmDipendenti::btnCodFiscClick() {
    openCodFiscCheck(this, txtCodFisc->text());
}

void TfrmDipendenti::btnPartitaIvaClick() {
    TfrmPartitaIva::open(this, trimText(txtPartitaIva->text()));
}

void TfrmDipendenti::btnIbanClick() {
    TfrmIban::open(this, trimText(txtIban->text()));
}

void TfrmDipendenti::btnEmailClick() {
    TMisc::Open(QStringLiteral("\"mailto:") + trimText(txtEmail->text()) + QLatin1Char('"'));
}

void TfrmDipendenti::btnLavoriClick() {
    if (const auto refusal = lavoriRefusal(lblPosizione->text(), txtDipendente->text(), txtCodFisc->text())) {
        showWarning(this, refusal->warning);
        if (QLineEdit* box = field(refusal->focus))
            box->setFocus(Qt::OtherFocusReason);
        return;
    }
    openWorkRegister(this); // the register reads txtDipendente and txtCodFisc itself
}

} // namespace ombrisa
