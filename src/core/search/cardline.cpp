#include "core/search/cardline.h"

#include <algorithm>

namespace ombrisa {

namespace {
inline char16_t folded(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}
} // namespace

int compareLineText(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = folded(pa[i].unicode());
        const char16_t cb = folded(pb[i].unicode());
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void sortLines(std::vector<CardLine>& lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const CardLine& x, const CardLine& y) { return compareLineText(x.text, y.text) < 0; });
}

} // namespace ombrisa
