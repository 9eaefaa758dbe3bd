#include "ui/common/filedialogs.h"
#include "ui/common/services.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace ombrisa {

QString withDefaultSuffixToOpen(const QString& path, const QString& defaultSuffix) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')) || QFileInfo::exists(path))
        return path;
    return withDefaultSuffix(path, defaultSuffix);
}

namespace {

// The file system model's columns: name, size, type, date modified.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

class LocaleFileProxy final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && (index.column() == kSizeColumn || index.column() == kDateColumn)) {
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel())) {
                const QModelIndex source = mapToSource(index);
                if (index.column() == kDateColumn)
                    return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
                if (!files->isDir(source))
                    return QLocale().formattedDataSize(files->size(source));
            }
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// Adds the default extension to a typed name before Qt's dialog checks that the file exists, so that
// "p" opens p.jpg instead of answering that the file does not exist.
class OpenDialog final : public QFileDialog {
public:
    OpenDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
               QString defaultSuffix)
        : QFileDialog(parent, caption, folder, filter), defaultSuffix_(std::move(defaultSuffix)) {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (chosen.size() == 1) {
            const QString completed = withDefaultSuffixToOpen(chosen.constFirst(), defaultSuffix_);
            if (completed != chosen.constFirst() && QFileInfo(completed).isFile())
                selectFile(completed);
        }
        QFileDialog::accept();
    }

private:
    QString defaultSuffix_;
};

} // namespace

void italianiseFileDialog(QFileDialog& dialog) {
    dialog.setProxyModel(new LocaleFileProxy(&dialog));
}

QString chooseFileToOpen(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) {
    OpenDialog dialog(parent, caption, folder, filter, defaultSuffix);
    italianiseFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    // A platform dialog may hand back the name as typed.
    return withDefaultSuffixToOpen(dialog.selectedFiles().constFirst(), defaultSuffix);
}

} // namespace ombrisa
