#pragma once

// The help screen: a topic title and a read-only help text. Opened fresh by each caller:
//     auto* help = new TfrmGuida(this);
//     help->setHelp(kHelpClientiTitle, joinHelp(helpClienti()));
//     execDialog(help);

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ombrisa {

class LinkLabel;
class PictureBox;

class TfrmGuida : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGuida(QWidget* parent = nullptr);
    // `text` is paragraphs joined by CR LF CR LF.
    void setHelp(const QString& title, const QString& text);
    // The text as it was given.
    QString helpText() const { return text_; }

    PictureBox* imgLogo;
    QLabel* lblTitolo;
    QPlainTextEdit* txtGuida;
    PictureBox* imgPDF;
    LinkLabel* lnkWeb;
    QPushButton* btnChiudi;

public slots:
    void lnkWebClick();

private:
    QString text_;
};

// Opens a fresh help screen owned by `owner` with this title and these paragraphs.
void showHelp(QWidget* owner, const QString& title, const QStringList& paragraphs);

} // namespace ombrisa
