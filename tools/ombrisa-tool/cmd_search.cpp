// search: the lines a search screen lists for the given filter boxes, in the same order, then the
// count line.
#include "commands.h"
#include "options.h"

#include "core/search/searchrules.h"
#include "core/storage/appfolder.h"

#include <QFileInfo>

#include <cstdio>

namespace tool {

int search(const QStringList& args) {
    // --box may come many times: take those pairs out before the ordinary options are read.
    QStringList rest;
    QList<std::pair<QString, QString>> boxes;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] != QLatin1String("--box")) {
            rest << args[i];
            continue;
        }
        if (i + 1 >= args.size())
            return usageError(QStringLiteral("manca il valore di --box (--box txtNOME=TESTO)"));
        const QString box = args[++i];
        const qsizetype eq = box.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return usageError(QStringLiteral("--box vuole txtNOME=TESTO, non \"%1\"").arg(box));
        boxes.append({box.left(eq), box.mid(eq + 1)});
    }
    Options o = Options::parse(rest, {QStringLiteral("dir")}, {});
    if (!o.error.isEmpty())
        return usageError(o.error);
    if (o.words.size() != 1)
        return usageError(QStringLiteral("search vuole l'archivio: clienti, chiamate o dipendenti"));
    const ombrisa::SearchRules* rules = ombrisa::searchRulesFor(o.words.first());
    if (!rules)
        return usageError(QStringLiteral("archivio sconosciuto \"%1\"").arg(o.words.first()));

    QStringList texts(static_cast<qsizetype>(rules->filters.size()));
    QList<bool> given(texts.size(), false);
    for (const auto& [name, text] : boxes) {
        qsizetype index = -1;
        for (std::size_t f = 0; f < rules->filters.size(); ++f)
            if (name == QLatin1String(rules->filters[f].box))
                index = static_cast<qsizetype>(f);
        if (index < 0)
            return usageError(QStringLiteral("la ricerca %1 non ha la casella \"%2\"").arg(o.words.first(), name));
        if (given[index])
            return usageError(QStringLiteral("la casella %1 è indicata due volte").arg(name));
        given[index] = true;
        texts[index] = text;
    }
    if (const QString e = useDataFolder(o); !e.isEmpty())
        return usageError(e);

    const QString path = ombrisa::appPath(QLatin1String(rules->archive->fileName));
    ombrisa::CardListing listing;
    if (QFileInfo::exists(path)) { // a missing archive is an empty one; searching it creates nothing
        listing = ombrisa::searchArchive(*rules, path, texts);
        if (!listing.ok)
            return usageError(listing.error);
    }
    QByteArray out;
    for (const ombrisa::CardLine& line : listing.lines) {
        out += line.text.toUtf8();
        out += '\n';
    }
    out += ombrisa::countLine(listing.lines.size(), rules->countFullStop).toUtf8();
    out += '\n';
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
}

} // namespace tool
