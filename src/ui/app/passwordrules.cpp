#include "ui/app/passwordrules.h"

#include "core/password/crypt.h"
#include "core/password/passwordfile.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "core/storage/textfield.h"

namespace ombrisa {
namespace {

// The typed password in the form in which it is stored and read back: normalised, and reduced to the
// 8 bits per character that the scrambling keeps. Comparing this form means a password with a
// character above code 255 still opens the program after it has been stored.
QString storedForm(const QString& typed) {
    const QString normal = normalizePassword(typed);
    return trimText(Decode(Encode(normal)).value_or(normal));
}

} // namespace

QString passwordFilePath() {
    return appPath(kPasswordFile);
}

SignIn checkPassword(const QString& typed) {
    const auto stored = readStoredPassword(passwordFilePath());
    if (!stored)
        return SignIn::ReadError;
    return *stored == storedForm(typed) ? SignIn::Granted : SignIn::Wrong;
}

Change changePassword(const QString& oldTyped, const QString& newTyped, const QString& confirmation) {
    const auto stored = readStoredPassword(passwordFilePath());
    if (!stored)
        return Change::Failed;
    if (*stored != storedForm(oldTyped))
        return Change::OldWrong;
    if (trimText(newTyped) != trimText(confirmation))
        return Change::NotConfirmed;
    return writeStoredPassword(passwordFilePath(), newTyped) ? Change::Done : Change::Failed;
}

} // namespace ombrisa
