#include "ui/attachments/AllegaCartella.h"

#include "core/attachments/attachedfiles.h"
#include "core/records/archivepaths.h"
#include "core/storage/textfield.h"
#include "ui/cards/cardscreen.h"
#include "ui/common/conventions.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/services.h"
#include "ui/common/windowguard.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ombrisa {
namespace {

const QString kDlgFileTitle = QStringLiteral("Selezionare il file da allegare:");
// One entry, described as "Tutti i file (*.*)", that shows every file, those without an extension too.
const QString kDlgFileFilter = QStringLiteral("Tutti i file (*.*) (*)");
const QString kOverwriteQuestion =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome.\r\n\r\n"
                   "Si vuole sovrascrivere il file esistente?");
const QString kNameNotStorable =
    QStringLiteral("Attenzione: il nome del file è troppo lungo o contiene caratteri che la scheda non può "
                   "conservare.\r\n\r\nRinominare il file e allegarlo di nuovo.");
const QString kCopyFailed = QStringLiteral("Attenzione: il file non è stato allegato alla scheda: ");
const QString kModeClienti = QStringLiteral("clienti");
const QString kModeDipendenti = QStringLiteral("dipendenti");

const char* const kOrdinals[3] = {"1°", "2°", "3°"};

// The archive of the cards each mode word serves.
QString archiveFor(const QString& mode) {
    if (mode == kModeClienti)
        return kClientiFile;
    if (mode == kModeDipendenti)
        return kDipendentiFile;
    return {};
}

// The card screen that receives the values for `mode`: the opening screen, when it is a card of the
// archive the mode names.
CardScreen* cardFor(const QString& mode, QWidget* opener) {
    auto* card = qobject_cast<CardScreen*>(opener);
    const QString archive = archiveFor(mode);
    return card && !archive.isEmpty() && card->navigator().rules().archiveFile == archive ? card : nullptr;
}

// The card's hidden attachment labels, slot by slot: file name and description.
std::array<std::pair<QLabel*, QLabel*>, 3> cardLabels(const CardScreen& card) {
    return {{{card.lblFile01, card.lblDesc01}, {card.lblFile02, card.lblDesc02}, {card.lblFile03, card.lblDesc03}}};
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmAllegaCartella"));
    setWindowTitle(QStringLiteral(" Allega file"));
    setStyleSheet(QStringLiteral(
        "#frmAllegaCartella { background: #eef4f9; }"
        "QFrame[slot=\"true\"] { background: white; border: 1px solid #9ec0da; border-radius: 6px; }"
        "QFrame[slot=\"true\"] QLabel { color: #1f3b57; font: bold 9pt 'Tahoma'; }"
        "QLineEdit { border: 1px solid #9ec0da; border-radius: 3px; padding: 2px 4px; background: white; }"
        "QLineEdit:focus { border-color: #2f6f9c; background: #fffbe6; }"
        "QLineEdit[readOnly=\"true\"] { color: #6b6b6b; font-weight: bold; background: #f1f1f1; }"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(14, 12, 14, 12);
    root->setSpacing(10);
    root->setSizeConstraint(QLayout::SetFixedSize); // a fixed border: the dialog keeps its size

    for (int i = 0; i < 3; ++i)
        root->addWidget(buildSlot(i + 1, slots_[static_cast<std::size_t>(i)]));
    txtFile01 = slots_[0].file;
    txtFile02 = slots_[1].file;
    txtFile03 = slots_[2].file;
    txtDesc01 = slots_[0].desc;
    txtDesc02 = slots_[1].desc;
    txtDesc03 = slots_[2].desc;
    btnSfoglia01 = slots_[0].sfoglia;
    btnSfoglia02 = slots_[1].sfoglia;
    btnSfoglia03 = slots_[2].sfoglia;
    btnApri01 = slots_[0].apri;
    btnApri02 = slots_[1].apri;
    btnApri03 = slots_[2].apri;
    imgCancella01 = slots_[0].cancella;
    imgCancella02 = slots_[1].cancella;
    imgCancella03 = slots_[2].cancella;

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    for (QPushButton* b : {btnApplica, btnAnnulla}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(130);
        buttons->addWidget(b);
    }
    root->addLayout(buttons);

    lblMemory = new QLabel(QStringLiteral("lblMemory"), this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* TfrmAllegaCartella::buildSlot(int number, Slot& slot) {
    const QString nn = QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    const QString ordinal = QString::fromUtf8(kOrdinals[number - 1]);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("panSlot") + nn);
    frame->setProperty("slot", true);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(10, 8, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    slot.file = new QLineEdit(frame);
    slot.file->setObjectName(QStringLiteral("txtFile") + nn);
    slot.file->setReadOnly(true);
    slot.file->setMinimumWidth(360);
    slot.desc = new QLineEdit(frame);
    slot.desc->setObjectName(QStringLiteral("txtDesc") + nn);
    slot.desc->setMaxLength(static_cast<int>(kAttachmentDescCapacity));
    slot.sfoglia = new QPushButton(QStringLiteral("Sfoglia..."), frame);
    slot.sfoglia->setObjectName(QStringLiteral("btnSfoglia") + nn);
    slot.apri = new QPushButton(QStringLiteral("Apri"), frame);
    slot.apri->setObjectName(QStringLiteral("btnApri") + nn);
    slot.apri->setEnabled(false);
    for (QPushButton* b : {slot.sfoglia, slot.apri}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
    }
    slot.cancella = new PictureBox(QStringLiteral(":/attachments/art/cancella.svg"), frame);
    slot.cancella->setObjectName(QStringLiteral("imgCancella") + nn);
    slot.cancella->setFixedSize(26, 26);
    slot.cancella->setClickable(true);
    slot.cancella->setToolTip(QStringLiteral("Toglie il file dalla scheda (la copia resta nella cartella)."));

    grid->addWidget(new QLabel(QStringLiteral("Nome %1 file allegato:").arg(ordinal), frame), 0, 0, 1, 4);
    grid->addWidget(slot.file, 1, 0);
    grid->addWidget(slot.sfoglia, 1, 1);
    grid->addWidget(slot.apri, 1, 2);
    grid->addWidget(slot.cancella, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Descrizione %1 file allegato:").arg(ordinal), frame), 2, 0, 1, 4);
    grid->addWidget(slot.desc, 3, 0, 1, 4);
    grid->setColumnStretch(0, 1);

    const Slot s = slot;
    // "Apri" follows the file box, whoever changes it: a pick, the clickable picture or the caller.
    connect(s.file, &QLineEdit::textChanged, this,
            [s](const QString& text) { s.apri->setEnabled(!trimText(text).isEmpty()); });
    connect(s.sfoglia, &QPushButton::clicked, this, [this, s] { btnSfogliaClick(s); });
    connect(s.apri, &QPushButton::clicked, this, [this, s] { btnApriClick(s); });
    connect(s.cancella, &PictureBox::clicked, this, [s] { s.file->clear(); });
    return frame;
}

// The slot takes the new name only once its file is in the folder (or the user chose to keep the file
// already there): a failed copy leaves the slot as it was, never naming a file that is not stored.
void TfrmAllegaCartella::btnSfogliaClick(const Slot& slot) {
    const QString path = fileChooser().openFile(this, kDlgFileTitle, QString(), kDlgFileFilter);
    if (path.isEmpty())
        return;
    const QString name = attachmentBareName(path);
    if (name.isEmpty())
        return;
    if (!attachmentNameStorable(name)) {
        showWarning(this, kNameNotStorable);
        return;
    }
    if (attachmentWouldReplace(path) && !confirm(this, kOverwriteQuestion)) {
        slot.file->setText(name); // refers to the file already in the folder
        return;
    }
    QString why;
    if (!copyIntoAttachments(path, &why)) {
        showWarning(this, kCopyFailed + why);
        return;
    }
    slot.file->setText(name);
}

void TfrmAllegaCartella::btnApriClick(const Slot& slot) {
    const QString path = attachmentPath(slot.file->text());
    if (!path.isEmpty())
        TMisc::Open(QLatin1Char('"') + path + QLatin1Char('"'), this);
}

void TfrmAllegaCartella::btnApplicaClick() {
    if (CardScreen* card = cardFor(trimText(lblMemory->text()), parentWidget())) {
        const auto labels = cardLabels(*card);
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (labels[i].first)
                labels[i].first->setText(trimText(slots_[i].file->text()));
            if (labels[i].second)
                labels[i].second->setText(trimText(slots_[i].desc->text()));
        }
    }
    accept();
}

void openAllegaCartella(CardScreen* card) {
    auto* dialog = new TfrmAllegaCartella(card);
    dialog->lblMemory->setText(card->navigator().rules().archiveFile == kDipendentiFile ? kModeDipendenti
                                                                                        : kModeClienti);
    const std::array<QLineEdit*, 3> files{dialog->txtFile01, dialog->txtFile02, dialog->txtFile03};
    const std::array<QLineEdit*, 3> descs{dialog->txtDesc01, dialog->txtDesc02, dialog->txtDesc03};
    const auto labels = cardLabels(*card);
    for (std::size_t i = 0; i < 3; ++i) {
        if (labels[i].first)
            files[i]->setText(trimText(labels[i].first->text()));
        if (labels[i].second)
            descs[i]->setText(trimText(labels[i].second->text()));
    }
    execDialog(dialog);
}

} // namespace ombrisa
