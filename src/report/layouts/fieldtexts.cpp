#include "report/layouts/fieldtexts.h"

#include "core/dates/dates.h"
#include "core/storage/textfield.h"

namespace ombrisa::report {

namespace {

FieldTexts fromTable(const void* record, FieldTable table) {
    FieldTexts texts;
    for (const FieldDef& field : table)
        texts.insert(QStringLiteral("txt") + QString::fromLatin1(field.name), GetText(record, field));
    return texts;
}

} // namespace

QString trimmedValue(const FieldTexts& texts, const QString& control) {
    return trimText(texts.value(control));
}

FieldTexts fieldTexts(const TRecCliente& record) {
    return fromTable(&record, kClienteFields);
}

FieldTexts fieldTexts(const TRecChiamata& record) {
    FieldTexts texts = fromTable(&record, kChiamataFields);
    texts.insert(QStringLiteral("lblAnnoRit"), texts.value(QStringLiteral("txtAnnoRit")));
    return texts;
}

FieldTexts fieldTexts(const TRecDipendente& record) {
    return fromTable(&record, kDipendenteFields);
}

QString printStamp(const QDateTime& now) {
    return QStringLiteral("Stampa eseguita in data ") + formatDate(now.date()) + QStringLiteral(" alle ore ") +
           now.time().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace ombrisa::report
