#include "ui/privacy/privacy.h"

#include "core/cards/cardnavigator.h"
#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/search/searchrules.h"
#include "core/storage/appfolder.h"
#include "core/storage/textfield.h"
#include "report/layouts/personaldata.h"
#include "ui/cards/cardscreen.h"
#include "ui/common/conventions.h"
#include "ui/common/dialoglook.h"
#include "ui/common/openurl.h"
#include "ui/common/services.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrisa {

namespace {

QString boxText(const CardScreen* card, const char* name) {
    const auto* box = qobject_cast<const QLineEdit*>(card->field(QString::fromLatin1(name)));
    return box ? trimText(box->text()) : QString();
}

// Appends the operation to the register; a failure is said, never hidden.
void record(QWidget* parent, const QString& operation, const std::vector<std::int64_t>& clients,
            const std::vector<std::int64_t>& calls) {
    QString error;
    if (!appendPrivacyRegister(privacyRegisterLine(clock().now(), workstationUser(), operation, clients, calls),
                               &error))
        showWarning(parent, QStringLiteral("Attenzione: l'operazione non è stata annotata nel registro %1 (%2).")
                                .arg(kPrivacyRegisterFile, error));
}

// `text` followed by an empty line, or nothing when it is empty.
QString paragraph(const QString& text) {
    return text.isEmpty() ? QString() : text + QStringLiteral("\n\n");
}

// Forgets `subject` and says how it went. True when every record was anonymised.
bool forgetAndReport(QWidget* parent, const PrivacySubject& subject) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ForgetReport report = forgetSubject(subject, clock().now());
    QApplication::restoreOverrideCursor();
    if (report.ok && report.filesFailed.isEmpty())
        showInformation(parent, report.summary());
    else
        showWarning(parent, report.summary());
    return report.ok;
}

} // namespace

PrivacySubject subjectOfCard(const CardScreen* card) {
    PrivacySubject subject;
    subject.codFisc = boxText(card, "txtCodFisc");
    if (subject.codFisc.isEmpty())
        subject.name = boxText(card, "txtCliente");
    return subject;
}

QString exportPersonalData(CardScreen* card) {
    const PrivacySubject subject = subjectOfCard(card);
    if (subject.empty()) {
        showWarning(card, QStringLiteral("Per raccogliere i dati di un cliente la scheda deve riportarne il codice "
                                         "fiscale o il cognome e nome."));
        return {};
    }
    const QDateTime now = clock().now();
    const QString folder = appPath(kPersonalDataFolder + QLatin1Char('/') + personalDataFolderName(subject, now));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const report::AccessResult result = report::writePersonalDataFolder(subject, folder, now);
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        showWarning(card, QStringLiteral("Attenzione: non è stato possibile raccogliere i dati del cliente.\n\n%1")
                              .arg(result.error));
        return {};
    }
    record(card, kOperationAccess, result.findings.clients, result.findings.calls);
    QString text = QStringLiteral("I dati del cliente sono stati raccolti nella cartella:\n%1\n\n"
                                  "Schede cliente: %2; chiamate: %3; documenti allegati: %4.")
                       .arg(QDir::toNativeSeparators(folder))
                       .arg(result.findings.clients.size())
                       .arg(result.findings.calls.size())
                       .arg(result.findings.attachments.size() - result.missingFiles.size());
    if (!result.missingFiles.isEmpty())
        text += QStringLiteral("\nDocumenti nominati dalle schede ma assenti dall'archivio: %1.")
                    .arg(result.missingFiles.join(QStringLiteral(", ")));
    if (confirm(card, text + QStringLiteral("\n\nSi vuole aprire la cartella?")))
        TMisc::Open(QLatin1Char('"') + folder + QLatin1Char('"'), card);
    return folder;
}

QString forgetQuestion(const PrivacyFindings& found, const QString& notice, qsizetype requestFolders) {
    const QString folders =
        requestFolders == 0 ? QString()
        : requestFolders == 1
            ? QStringLiteral(" Sarà eliminata anche la cartella con i dati raccolti su sua richiesta (%1).")
                  .arg(kPersonalDataFolder)
            : QStringLiteral(" Saranno eliminate anche le %1 cartelle con i dati raccolti su sua richiesta (%2).")
                  .arg(requestFolders)
                  .arg(kPersonalDataFolder);
    return QStringLiteral("Il cliente sarà reso anonimo: cambieranno %1 schede cliente e %2 chiamate, e saranno "
                          "eliminati %3 documenti allegati.%4\n\nL'operazione non può essere annullata.\n\n%5"
                          "Procedere?")
        .arg(found.clients.size())
        .arg(found.calls.size())
        .arg(found.attachments.size())
        .arg(folders, paragraph(notice));
}

bool forgetClientOnCard(CardScreen* card) {
    const PrivacySubject subject = subjectOfCard(card);
    if (subject.empty()) {
        showWarning(card, QStringLiteral("Per dimenticare un cliente la scheda deve riportarne il codice fiscale o "
                                         "il cognome e nome."));
        return false;
    }
    const PrivacyFindings found = findSubject(subject);
    if (!found.ok) {
        showWarning(card, kArchiveMessage);
        return false;
    }
    if (found.clients.empty() && found.calls.empty()) {
        showInformation(card, QStringLiteral("Nell'archivio non ci sono schede né chiamate di questo cliente."));
        return false;
    }
    if (!confirmDestructive(card, forgetQuestion(found, forgetWhileOthersPresent(Presence::Others(appFolder())),
                                                 personalDataFolders(subject).size())))
        return false;
    const bool done = forgetAndReport(card, subject);
    // The card on screen shows what is stored now.
    if (const std::optional<std::int64_t> number = parseCardNumber(card->lblPosizione->text()))
        card->navigator().showCard(*number);
    return done;
}

void connectPrivacyMenu(CardScreen* card, QToolButton* button) {
    auto* menu = new QMenu(button);
    menu->setObjectName(QStringLiteral("mnuPrivacy"));
    menu->addAction(QStringLiteral("Tutti i dati del cliente…"), card, [card] { exportPersonalData(card); })
        ->setObjectName(QStringLiteral("actDatiPersonali"));
    menu->addAction(QStringLiteral("Dimentica il cliente…"), card, [card] { forgetClientOnCard(card); })
        ->setObjectName(QStringLiteral("actDimentica"));
    menu->addAction(QStringLiteral("Clienti da non conservare…"), card,
                    [card] { execDialog(new TfrmConservazione(card)); })
        ->setObjectName(QStringLiteral("actConservazione"));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
}

TfrmConservazione::TfrmConservazione(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmConservazione"));
    setWindowTitle(QStringLiteral(" Clienti da non conservare"));
    applyDialogLook(this);

    auto* intro = new QLabel(
        QStringLiteral("Clienti senza chiamate né modifiche della scheda negli ultimi anni: candidati all'oblio. "
                       "Spuntare quelli da dimenticare."),
        this);
    intro->setWordWrap(true);
    txtAnni = new QSpinBox(this);
    txtAnni->setObjectName(QStringLiteral("txtAnni"));
    txtAnni->setRange(1, 100);
    txtAnni->setValue(10);
    txtAnni->setSuffix(QStringLiteral(" anni"));
    btnAggiorna = new QPushButton(QStringLiteral("Aggiorna"), this);
    btnAggiorna->setObjectName(QStringLiteral("btnAggiorna"));
    lstClienti = new QTableWidget(0, 4, this);
    lstClienti->setObjectName(QStringLiteral("lstClienti"));
    lstClienti->setHorizontalHeaderLabels({QStringLiteral("Scheda n."), QStringLiteral("Cognome e nome"),
                                           QStringLiteral("Ultima chiamata"), QStringLiteral("Ultima modifica")});
    lstClienti->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    lstClienti->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    lstClienti->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    lstClienti->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    lstClienti->setWordWrap(false);
    lstClienti->verticalHeader()->hide();
    lstClienti->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstClienti->setSelectionBehavior(QAbstractItemView::SelectRows);
    lblConteggio = new QLabel(this);
    lblConteggio->setObjectName(QStringLiteral("lblConteggio"));
    btnDimentica = new QPushButton(QStringLiteral("Dimentica i clienti spuntati"), this);
    btnDimentica->setObjectName(QStringLiteral("btnDimentica"));
    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    for (QPushButton* b : {btnAggiorna, btnDimentica, btnChiudi}) {
        b->setAutoDefault(false);
        makeClickable(b);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Nessuna chiamata negli ultimi"), this));
    top->addWidget(txtAnni);
    top->addWidget(btnAggiorna);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblConteggio, 1);
    bottom->addWidget(btnDimentica);
    bottom->addWidget(btnChiudi);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(top);
    layout->addWidget(lstClienti, 1);
    layout->addLayout(bottom);
    resize(720, 520);

    connect(btnAggiorna, &QPushButton::clicked, this, &TfrmConservazione::refresh);
    connect(btnDimentica, &QPushButton::clicked, this, &TfrmConservazione::forgetChosen);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
}

void TfrmConservazione::refresh() {
    const RetentionList list = retentionCandidates(txtAnni->value(), clock().today());
    lstClienti->setRowCount(0);
    shown_.clear();
    if (!list.ok) {
        lblConteggio->setText(QString());
        showWarning(this, kArchiveMessage);
        return;
    }
    shown_ = list.candidates;
    lstClienti->setRowCount(static_cast<int>(shown_.size()));
    for (int row = 0; row < lstClienti->rowCount(); ++row) {
        const RetentionCandidate& c = shown_[static_cast<std::size_t>(row)];
        auto* number = new QTableWidgetItem(QString::number(c.card));
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        number->setCheckState(Qt::Unchecked);
        lstClienti->setItem(row, 0, number);
        lstClienti->setItem(row, 1, new QTableWidgetItem(c.name));
        lstClienti->setItem(
            row, 2,
            new QTableWidgetItem(c.lastCall.isValid() ? formatDate(c.lastCall) : QStringLiteral("nessuna chiamata")));
        // A card written before the program kept its dates: when it last changed is not known.
        lstClienti->setItem(
            row, 3,
            new QTableWidgetItem(c.lastChange.isValid() ? formatDate(c.lastChange) : QStringLiteral("sconosciuta")));
    }
    lblConteggio->setText(QStringLiteral("Clienti elencati: %1").arg(shown_.size()));
}

void TfrmConservazione::forgetChosen() {
    std::vector<PrivacySubject> chosen;
    for (int row = 0; row < lstClienti->rowCount(); ++row) {
        if (lstClienti->item(row, 0)->checkState() != Qt::Checked)
            continue;
        // The card as stored now: its code, or its name when it has none.
        TRecCliente card;
        QString error;
        const RetentionCandidate& c = shown_[static_cast<std::size_t>(row)];
        if (!readCard(appPath(kClientiFile), sizeof card, c.card, &card, &error)) {
            showWarning(this, kArchiveMessage);
            return;
        }
        PrivacySubject subject{trimText(GetText(card.CodFisc)), QString()};
        if (subject.codFisc.isEmpty())
            subject.name = trimText(GetText(card.Cliente));
        if (!subject.empty())
            chosen.push_back(subject);
    }
    if (chosen.empty()) {
        showInformation(this, QStringLiteral("Spuntare nell'elenco i clienti da dimenticare."));
        return;
    }
    if (!confirmDestructive(this, (chosen.size() == 1 ? QStringLiteral("Sarà reso anonimo 1 cliente, con le sue "
                                                                       "chiamate, i documenti allegati e le cartelle "
                                                                       "dei dati raccolti su sua richiesta.")
                                                      : QStringLiteral("Saranno resi anonimi %1 clienti, con le loro "
                                                                       "chiamate, i documenti allegati e le cartelle "
                                                                       "dei dati raccolti su loro richiesta.")
                                                            .arg(chosen.size())) +
                                      QStringLiteral("\n\nL'operazione non può essere annullata.\n\n%1Procedere?")
                                          .arg(paragraph(forgetWhileOthersPresent(Presence::Others(appFolder()))))))
        return;
    std::size_t clients = 0;
    std::size_t calls = 0;
    for (const PrivacySubject& subject : chosen) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const ForgetReport report = forgetSubject(subject, clock().now());
        QApplication::restoreOverrideCursor();
        clients += report.clientsDone.size();
        calls += report.callsDone.size();
        if (!report.ok || !report.filesFailed.isEmpty()) {
            showWarning(this, report.summary());
            refresh();
            return;
        }
    }
    showInformation(
        this, QStringLiteral("Schede cliente anonimizzate: %1; chiamate anonimizzate: %2.").arg(clients).arg(calls));
    refresh();
}

} // namespace ombrisa
