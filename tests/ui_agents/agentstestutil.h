#pragma once

// Helpers of the agent screens' tests: agent records written byte by byte, test pictures and a
// tolerant comparison of pictures that went through JPEG.

#include "uisupport/fakes.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace ombrisa::test {

constexpr int kAgentRecordSize = 3356;

// Writes `text` into the text field at `offset`: length byte, then the characters.
inline void putField(QByteArray& record, int offset, const char* text) {
    const auto n = static_cast<int>(std::strlen(text));
    record[offset] = static_cast<char>(n);
    std::memcpy(record.data() + offset + 1, text, static_cast<std::size_t>(n));
}

// The characters of the text field at `offset` with capacity `capacity`.
inline QByteArray fieldBytes(const QByteArray& record, int offset, int capacity) {
    const int n = std::min(static_cast<int>(static_cast<unsigned char>(record[offset])), capacity);
    return record.mid(offset + 1, n);
}

// A card with its name and the other mandatory fields.
inline QByteArray agentRecord(const char* name) {
    QByteArray r(kAgentRecordSize, '\0');
    putField(r, 0, name);                 // Dipendente
    putField(r, 400, "RSSMRA80A01H501U"); // CodFisc
    putField(r, 804, "3331234567");       // Cel
    putField(r, 835, "Tecnico");          // Qualifica
    putField(r, 886, "Assistenza");       // Reparto
    return r;
}

// A portrait-shaped picture with areas of clear colours, not the size of the photo box.
inline QImage testPortrait(QColor main = QColor(200, 40, 40)) {
    QImage image(240, 320, QImage::Format_RGB32);
    image.fill(main);
    QPainter p(&image);
    p.fillRect(0, 0, 120, 100, QColor(30, 60, 200));
    p.fillRect(120, 220, 120, 100, QColor(40, 170, 60));
    p.end();
    return image;
}

// Same size, and every sampled pixel within `tolerance` on each channel (JPEG changes pixels a little).
inline bool samePicture(const QImage& a, const QImage& b, int tolerance = 24) {
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return false;
    for (int y = 2; y < a.height(); y += 7)
        for (int x = 2; x < a.width(); x += 7) {
            const QColor ca = a.pixelColor(x, y);
            const QColor cb = b.pixelColor(x, y);
            // Pixels at colour borders blur in JPEG: compare the inner parts of the areas.
            const bool edge = (std::abs(x - 120) < 8) || (std::abs(y - 100) < 8) || (std::abs(y - 220) < 8);
            if (edge)
                continue;
            if (std::abs(ca.red() - cb.red()) > tolerance || std::abs(ca.green() - cb.green()) > tolerance ||
                std::abs(ca.blue() - cb.blue()) > tolerance)
                return false;
        }
    return true;
}

// The colour an edit box paints as its background (right of any text).
inline QColor backgroundOf(QWidget* box) {
    return box->grab().toImage().pixelColor(box->width() - 6, box->height() / 2);
}

class AgentsTest : public UiTest {
protected:
    void writeArchive(std::initializer_list<QByteArray> records) {
        QByteArray all;
        for (const QByteArray& r : records)
            all += r;
        write(QStringLiteral("Archivio_Dipendenti.pro"), all);
    }
    void ensureFolder(const QString& name) { ASSERT_TRUE(QDir(dir.path()).mkpath(name)); }
};

} // namespace ombrisa::test
