#include "ui/agents/agentreportdialog.h"

#include "ui/common/picturebox.h"
#include "ui/common/services.h"
#include "report/layouts/agentcard.h"
#include "report/layouts/pictures.h"

#include <QLabel>
#include <exception>

namespace ombrisa {

QImage agentCardPhoto(const QWidget* agentCard) {
    if (!agentCard)
        return {};
    const auto* box = agentCard->findChild<QWidget*>(QStringLiteral("imgFoto"));
    if (const auto* picture = qobject_cast<const PictureBox*>(box))
        return picture->pixmap().toImage();
    if (const auto* label = qobject_cast<const QLabel*>(box))
        return label->pixmap().toImage();
    return {};
}

AgentReportDialog::AgentReportDialog(QWidget* agentCard, const QString& caption, const QString& actionText,
                                     QString failureMessage)
    : CardReportDialog(agentCard, caption, actionText), failureMessage_(std::move(failureMessage)) {
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->hide();
    imgTemp = new QLabel(this);
    imgTemp->setObjectName(QStringLiteral("imgTemp"));
    imgTemp->setPixmap(QPixmap::fromImage(report::photoPlaceholder()));
    imgTemp->hide();
}

void AgentReportDialog::showEvent(QShowEvent* event) {
    photo_ = agentCardPhoto(parentWidget());
    if (photo_.isNull())
        photo_ = imgTemp->pixmap().toImage();
    imgLogo->setPixmap(QPixmap::fromImage(photo_));
    CardReportDialog::showEvent(event);
}

void AgentReportDialog::btnStampaClick() {
    bool ok = false;
    try {
        ok = output(report::prepareAgentCard(currentTexts(), photo_));
    } catch (const std::exception&) {
        ok = false; // a photo too large to lay out: the same advice as a refused print
    }
    if (!ok)
        showWarning(this, failureMessage_);
}

} // namespace ombrisa
