#include "report/pdfdocinfo.h"

#include <QRegularExpression>

namespace ombrisa::report {

namespace {

// A PDF text string that holds any character: UTF-16BE with its byte-order mark, as hexadecimal.
QByteArray pdfText(const QString& text) {
    QByteArray utf16("\xFE\xFF");
    for (const QChar c : text) {
        utf16.append(static_cast<char>(c.unicode() >> 8));
        utf16.append(static_cast<char>(c.unicode() & 0xFF));
    }
    return '<' + utf16.toHex().toUpper() + '>';
}

} // namespace

QByteArray withDocumentInfo(const QByteArray& pdf, const PdfProperties& properties, const QDateTime& created) {
    // The last trailer and cross-reference offset: the update refers back to them.
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    if (trailerAt < 0)
        return {};
    const QString trailer = QString::fromLatin1(pdf.mid(trailerAt));
    static const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression rootRe(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)"));
    static const QRegularExpression idRe(QStringLiteral("/ID\\s*(\\[[^\\]]*\\])"));
    static const QRegularExpression startRe(QStringLiteral("startxref\\s+(\\d+)"));
    const auto size = sizeRe.match(trailer);
    const auto root = rootRe.match(trailer);
    const auto start = startRe.match(trailer);
    if (!size.hasMatch() || !root.hasMatch() || !start.hasMatch())
        return {};
    const int infoObject = size.captured(1).toInt();
    const auto id = idRe.match(trailer);

    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    const qsizetype infoAt = out.size();
    out += QByteArray::number(infoObject) + " 0 obj\n<<\n";
    out += "/Title " + pdfText(properties.title) + '\n';
    out += "/Subject " + pdfText(properties.subject) + '\n';
    out += "/Author " + pdfText(properties.author) + '\n';
    out += "/Creator " + pdfText(properties.creator) + '\n';
    out += "/Producer " + pdfText(properties.creator) + '\n';
    out += "/CreationDate (D:" + created.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z)\n";
    out += ">>\nendobj\n";
    const qsizetype xrefAt = out.size();
    out += "xref\n" + QByteArray::number(infoObject) + " 1\n";
    out += QByteArray::number(infoAt).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(infoObject + 1) + "\n/Root " + root.captured(1).toLatin1() +
           "\n/Info " + QByteArray::number(infoObject) + " 0 R\n";
    if (id.hasMatch())
        out += "/ID " + id.captured(1).toLatin1() + '\n';
    out += "/Prev " + start.captured(1).toLatin1() + "\n>>\nstartxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out;
}

} // namespace ombrisa::report
