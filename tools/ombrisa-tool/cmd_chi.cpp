// chi: who is calling. One line per client card that holds the number in a telephone field: the card
// number, the name and the field, tab-separated, in card order.
#include "commands.h"
#include "options.h"

#include "core/phone/phoneindex.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"

#include <cstdio>

namespace tool {

int chi(const QStringList& args) {
    Options o = Options::parse(args, {QStringLiteral("dir")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (o.words.size() != 1)
        return usageError(QStringLiteral("chi vuole un numero di telefono (ombrisa-tool chi NUMERO --dir D)"));
    const std::optional<QString> number = ombrisa::phoneQuery(o.words.first());
    if (!number)
        return usageError(
            QStringLiteral("%1 non è un numero di telefono").arg(ombrisa::quotedArgument(o.words.first())));
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);

    ombrisa::PhoneIndex index(ombrisa::appPath(ombrisa::kClientiFile));
    std::vector<ombrisa::PhoneMatch> matches;
    QString error;
    if (!index.find(*number, &matches, &error))
        return usageError(error);
    QByteArray out;
    for (const ombrisa::PhoneMatch& m : matches) {
        const ombrisa::PhoneField& field = ombrisa::kClientPhoneFields[static_cast<std::size_t>(m.field)];
        out += QByteArray::number(m.card) + '\t' + m.name.toUtf8() + '\t' + field.field + '\n';
    }
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    if (std::fflush(stdout) != 0)
        return 2;
    return matches.empty() ? 1 : 0;
}

} // namespace tool
