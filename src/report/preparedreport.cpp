#include "report/preparedreport.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ombrisa::report {

namespace {

// Small tolerance so that a line ending exactly at the page's bottom edge still counts as fitting.
constexpr double kEpsilon = 1e-6;

PreparedItem placed(const ReportObject& object, double dx, double dy) {
    PreparedItem item;
    item.name = object.name;
    item.kind = object.kind;
    item.rect = object.rect.translated(dx, dy);
    item.text = object.wholeText();
    item.picture = object.picture;
    item.font = object.font;
    item.textColor = object.textColor;
    item.fill = object.fill;
    item.frame = object.frame;
    item.frameWidth = object.frameWidth;
    item.alignment = object.alignment;
    if (object.kind == ObjectKind::Memo && !object.lines.isEmpty())
        item.lineHeight = object.rect.height() / double(object.lines.size());
    return item;
}

class Layouter {
public:
    explicit Layouter(const ReportLayout& layout) {
        report.reportName = layout.reportName;
        report.author = layout.author;
        report.pageLayout = layout.pageLayout();
        report.printableSize = layout.printableSize();
        pageHeight = report.printableSize.height();
        report.pages.append(PreparedPage{});
    }

    void place(const Band& band) {
        if (band.height > pageHeight - y + kEpsilon && y > 0) {
            if (band.canSplit) {
                split(band);
                return;
            }
            newPage();
        } else if (band.canSplit && band.height > pageHeight + kEpsilon) {
            split(band);
            return;
        }
        for (const ReportObject& object : band.objects)
            add(object, 0, y);
        y += band.height;
    }

    PreparedReport report;

private:
    void newPage() {
        report.pages.append(PreparedPage{});
        y = 0;
    }

    void add(const ReportObject& object, double dx, double dy) {
        if (object.kind == ObjectKind::Memo && object.lines.isEmpty())
            return;
        report.pages.last().items.append(placed(object, dx, dy));
    }

    // Prints the band in slices, one per page: the slice [start, end) of the band's own coordinates
    // goes on the current page, at the current height.
    void split(const Band& band) {
        std::vector<int> nextLine(band.objects.size(), 0);
        std::vector<bool> fixedDone(band.objects.size(), false);
        double start = 0;
        while (true) {
            const double room = pageHeight - y;
            const double end = start + room;
            double nextStart = std::numeric_limits<double>::max();
            bool placedSomething = false;
            for (std::size_t i = 0; i < std::size_t(band.objects.size()); ++i) {
                const ReportObject& object = band.objects[qsizetype(i)];
                if (object.kind != ObjectKind::Memo) {
                    // Fixed objects print on the page where their top falls.
                    if (!fixedDone[i] && object.rect.top() < end - kEpsilon) {
                        add(object, 0, y - start);
                        fixedDone[i] = true;
                        placedSomething = true;
                    }
                    continue;
                }
                if (object.lines.isEmpty() || nextLine[i] >= object.lines.size())
                    continue;
                const double pitch = object.rect.height() / double(object.lines.size());
                int last = nextLine[i];
                while (last < object.lines.size() && object.rect.top() + (last + 1) * pitch <= end + kEpsilon)
                    ++last;
                if (last == nextLine[i] && y == 0)
                    ++last; // a line taller than a whole page: print it anyway, cut
                if (last > nextLine[i]) {
                    PreparedItem item = placed(object, 0, y - start);
                    const double top = object.rect.top() + nextLine[i] * pitch;
                    item.rect = QRectF(object.rect.left(), y + std::max(0.0, top - start), object.rect.width(),
                                       (last - nextLine[i]) * pitch);
                    item.text = object.lines.mid(nextLine[i], last - nextLine[i]).join(QLatin1Char('\n'));
                    report.pages.last().items.append(item);
                    placedSomething = true;
                    nextLine[i] = last;
                }
                if (nextLine[i] < object.lines.size())
                    nextStart = std::min(nextStart, object.rect.top() + nextLine[i] * pitch);
            }
            if (nextStart == std::numeric_limits<double>::max()) {
                if (band.height - start <= room + kEpsilon) {
                    y += band.height - start;
                    return;
                }
                nextStart = end; // the rest of the band is empty space or fixed objects further down
            }
            if (!placedSomething && y == 0 && nextStart <= start)
                nextStart = end; // never loop on the same slice
            start = std::max(start, nextStart);
            newPage();
        }
    }

    double pageHeight = 0;
    double y = 0;
};

} // namespace

QList<const PreparedItem*> PreparedReport::find(int page, const QString& name) const {
    QList<const PreparedItem*> found;
    if (page < 0 || page >= pages.size())
        return found;
    for (const PreparedItem& item : pages[page].items)
        if (name.compare(item.name, Qt::CaseInsensitive) == 0)
            found.append(&item);
    return found;
}

const PreparedItem* PreparedReport::first(const QString& name) const {
    for (int page = 0; page < pages.size(); ++page)
        if (const auto found = find(page, name); !found.isEmpty())
            return found.first();
    return nullptr;
}

PreparedReport prepare(const ReportLayout& layout) {
    Layouter layouter(layout);
    for (const Band& band : layout.bands)
        layouter.place(band);
    return std::move(layouter.report);
}

} // namespace ombrisa::report
