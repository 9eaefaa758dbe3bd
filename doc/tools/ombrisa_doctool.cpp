// Build step for the desktop files and the user guide.
//   ombrisa-doctool icon <picture.svg> <size> <out.png>   the program's icon at one hicolor size
//   ombrisa-doctool guide <guide.md> <pictures folder> <out.pdf>
// The guide is Markdown, laid out by QTextDocument on A4 pages; pictures named in it are read from the
// pictures folder and drawn no wider than the text.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <cstdio>

namespace {

int fail(const char* what, const QString& path) {
    std::fprintf(stderr, "ombrisa-doctool: %s %s\n", what, qPrintable(path));
    return 1;
}

int icon(const QString& svg, int size, const QString& out) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return fail("immagine SVG non valida:", svg);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(out, "PNG") ? 0 : fail("impossibile scrivere", out);
}

// Pictures are read from the pictures folder, keep their proportions and fit the text width; larger
// pictures keep their pixels, so that they stay sharp when printed.
bool fitPictures(QTextDocument& document, const QString& pictures, qreal textWidth) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage image(pictures + QLatin1Char('/') + format.name());
            if (image.isNull()) {
                std::fprintf(stderr, "ombrisa-doctool: immagine mancante %s\n", qPrintable(format.name()));
                return false;
            }
            document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
            const qreal width = std::min<qreal>(textWidth, image.width());
            format.setWidth(width);
            format.setHeight(width * image.height() / image.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return true;
}

int guide(const QString& markdownPath, const QString& pictures, const QString& out) {
    QFile source(markdownPath);
    if (!source.open(QIODevice::ReadOnly))
        return fail("impossibile leggere", markdownPath);
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    document.setDefaultStyleSheet(QStringLiteral("h1 { color: #1F5F85; } h2 { color: #1F5F85; }"));
    document.setMarkdown(QString::fromUtf8(source.readAll()));

    // print() breaks a copy of the document into A4 pages with 2 cm margins and numbers them; it lays
    // out at 96 dots per inch, where the text of an A4 page is about 640 dots wide.
    if (!fitPictures(document, pictures, 600))
        return 1;
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly))
        return fail("impossibile scrivere", out);
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(QStringLiteral("Guida di Ombrisa"));
        pdf.setCreator(QStringLiteral("Ombrisa"));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        document.print(&pdf);
    }
    return file.commit() ? 0 : fail("impossibile scrivere", out);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("icon"))
        return icon(args[2], args[3].toInt(), args[4]);
    if (args.size() == 5 && args[1] == QLatin1String("guide"))
        return guide(args[2], args[3], args[4]);
    std::fprintf(stderr, "uso: ombrisa-doctool icon <svg> <lato> <png> | guide <md> <cartella immagini> <pdf>\n");
    return 2;
}
