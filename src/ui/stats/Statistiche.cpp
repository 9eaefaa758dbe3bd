#include "ui/stats/Statistiche.h"

#include "ui/common/accessibility.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "report/layouts/statsreport.h"
#include "ui/reports/printerservice.h"
#include "ui/app/guida.h"
#include "ui/common/accessibility.h"
#include "ui/common/conventions.h"
#include "ui/common/helptexts.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScatterSeries>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace ombrisa {

struct TfrmStatistiche::Job {
    std::atomic<bool> cancel{false};
    std::atomic<std::int64_t> done{0};
    std::atomic<std::int64_t> count{0};
    CallStats result;
};

namespace {

const QString kNotGiven = QStringLiteral("(non indicato)");
// The chart pages show at most this many groups; the table beside them lists every one.
constexpr int kTopGroups = 10;

QString shownVoce(const QString& voce) {
    return voce.isEmpty() ? kNotGiven : voce;
}

QString number(std::int64_t n) {
    return QLocale(QLocale::Italian, QLocale::Italy).toString(static_cast<qlonglong>(n));
}

QStandardItem* cell(const QString& text, bool right = false) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    if (right)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QList<QStandardItem*> figureCells(const QString& voce, const StatsFigure& f) {
    return {cell(voce), cell(number(f.calls), true), cell(number(f.minutes()), true),
            cell(formatAverage(f), true), cell(number(f.unread), true)};
}

const QStringList& figureHeader() {
    static const QStringList header{QStringLiteral("Voce"), QStringLiteral("Chiamate"), QStringLiteral("Minuti"),
                                    QStringLiteral("Durata media"), QStringLiteral("Durate non lette")};
    return header;
}

void fillRows(QStandardItemModel* model, const QString& first, const QList<StatsRow>& rows) {
    model->clear();
    QStringList header = figureHeader();
    header[0] = first;
    model->setHorizontalHeaderLabels(header);
    for (const StatsRow& r : rows)
        model->appendRow(figureCells(shownVoce(r.voce), r.figure));
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    QFont font = chart->titleFont();
    font.setBold(true);
    font.setPointSize(11);
    chart->setTitleFont(font);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(6, 6, 6, 6));
    return chart;
}

void tip(const QString& text) {
    QToolTip::showText(QCursor::pos(), text);
}

// An axis of whole numbers from 0: a tick every 1, 2, 5, 10, 20, 50 ... units, about six of them, the top
// a whole tick above the largest value.
QValueAxis* wholeAxis(double max, const QString& title) {
    const double step = [max] {
        for (double scale = 1;; scale *= 10)
            for (const double m : {1.0, 2.0, 5.0})
                if (m * scale * 6 >= max)
                    return m * scale;
    }();
    const double top = std::max(step, std::ceil(max * 1.05 / step) * step);
    auto* axis = new QValueAxis;
    axis->setRange(0, top);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setMinorTickCount(0);
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTitleText(title);
    return axis;
}

QValueAxis* countAxis(std::int64_t max, const QString& title = QStringLiteral("Chiamate")) {
    return wholeAxis(static_cast<double>(max), title);
}

// A chart of one value per group: horizontal bars, the first group on top, the names beside them (under
// vertical bars long names were cut to the width of a bar).
QChart* groupChart(const QString& title, const QList<StatsRow>& rows) {
    QChart* chart = newChart(title);
    auto* set = new QBarSet(QStringLiteral("Chiamate"));
    QStringList categories;
    std::int64_t max = 0;
    const qsizetype n = rows.size();
    for (qsizetype i = 0; i < n; ++i) {
        const StatsRow& r = rows[n - 1 - i];
        *set << static_cast<qreal>(r.figure.calls);
        QString label = shownVoce(r.voce);
        // A name has the room of a line beside its bar; the table and the tip show it whole.
        constexpr qsizetype kRoom = 48;
        if (label.size() > kRoom)
            label = label.left(kRoom - 1) + QChar(0x2026);
        // Categories must differ: two long texts cut alike keep apart by an invisible suffix.
        while (categories.contains(label))
            label += QChar(0x200B);
        categories.append(label);
        max = std::max(max, r.figure.calls);
    }
    auto* axisCategories = new QBarCategoryAxis;
    axisCategories->append(categories);
    QValueAxis* axisValues = countAxis(max);
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    chart->addSeries(series);
    chart->addAxis(axisCategories, Qt::AlignLeft);
    chart->addAxis(axisValues, Qt::AlignBottom);
    series->attachAxis(axisCategories);
    series->attachAxis(axisValues);
    chart->legend()->hide();
    QObject::connect(set, &QBarSet::hovered, chart, [rows](bool on, int index) {
        if (!on || index < 0 || index >= rows.size())
            return;
        const StatsRow& r = rows[rows.size() - 1 - index];
        tip(QStringLiteral("%1: %2 chiamate, durata media %3")
                .arg(shownVoce(r.voce), number(r.figure.calls), formatAverage(r.figure)));
    });
    return chart;
}

QChart* monthsChart(const QList<StatsMonth>& months) {
    QChart* chart = newChart(TfrmStatistiche::pageTitle(TfrmStatistiche::Mesi));
    auto* in = new QBarSet(QStringLiteral("In entrata"));
    auto* out = new QBarSet(QStringLiteral("In uscita"));
    auto* other = new QBarSet(QStringLiteral("Altre"));
    auto* total = new QLineSeries;
    total->setName(QStringLiteral("Totale"));
    total->setPointsVisible(months.size() <= 36);
    std::int64_t max = 0;
    for (qsizetype i = 0; i < months.size(); ++i) {
        const StatsMonth& m = months[i];
        *in << static_cast<qreal>(m.incoming);
        *out << static_cast<qreal>(m.outgoing);
        *other << static_cast<qreal>(m.other);
        total->append(static_cast<qreal>(i), static_cast<qreal>(m.figure.calls));
        max = std::max(max, m.figure.calls);
    }
    in->setColor(QColor(0x2f, 0x73, 0x9b));
    out->setColor(QColor(0xe0, 0x8a, 0x2e));
    other->setColor(QColor(0xa0, 0xa8, 0xb0));
    total->setColor(QColor(0x24, 0x24, 0x24));
    auto* bars = new QStackedBarSeries;
    bars->append(in);
    bars->append(out);
    if (std::any_of(months.begin(), months.end(), [](const StatsMonth& m) { return m.other > 0; }))
        bars->append(other);
    else
        delete other;
    bars->setBarWidth(0.8);
    chart->addSeries(bars);
    chart->addSeries(total);

    // Months as "mm/aaaa" while they fit, otherwise the years under their months.
    auto* axisX = new QCategoryAxis;
    axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    const bool byYear = months.size() > 24;
    for (qsizetype i = 0; i < months.size(); ++i) {
        const QString& voce = months[i].voce; // "aaaa-mm"
        const bool lastOfGroup = !byYear || i + 1 == months.size() || months[i + 1].voce.left(4) != voce.left(4);
        if (lastOfGroup)
            axisX->append(byYear ? voce.left(4) : voce.mid(5) + QLatin1Char('/') + voce.left(4),
                          static_cast<qreal>(i) + 0.5);
    }
    axisX->setStartValue(-0.5);
    axisX->setRange(-0.5, std::max<qreal>(0.5, static_cast<qreal>(months.size()) - 0.5));
    if (!byYear && months.size() > 12)
        axisX->setLabelsAngle(-90);
    QValueAxis* axisY = countAxis(max);
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    bars->attachAxis(axisX);
    bars->attachAxis(axisY);
    total->attachAxis(axisX);
    total->attachAxis(axisY);

    QObject::connect(bars, &QStackedBarSeries::hovered, chart, [months](bool on, int index, QBarSet* set) {
        if (!on || index < 0 || index >= months.size())
            return;
        const StatsMonth& m = months[index];
        tip(QStringLiteral("%1 — %2: %3 (totale %4)")
                .arg(m.voce, set->label(), number(static_cast<std::int64_t>(set->at(index))),
                     number(m.figure.calls)));
    });
    QObject::connect(total, &QLineSeries::hovered, chart, [months](const QPointF& point, bool on) {
        const int index = qRound(point.x());
        if (!on || index < 0 || index >= months.size())
            return;
        tip(QStringLiteral("%1: %2 chiamate").arg(months[index].voce, number(months[index].figure.calls)));
    });
    return chart;
}

// A legend's text in lines of about `width` characters, broken between words: legends cut what is
// longer than their room.
QString wrappedLegend(const QString& text, qsizetype width = 36) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines.append(line);
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        lines.append(line);
    for (QString& l : lines)
        l = l.toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

// The pie of the outcomes: each slice's share beside it, the outcomes whole in the legend.
QChart* outcomeChart(const QList<StatsRow>& esiti) {
    QChart* chart = newChart(TfrmStatistiche::pageTitle(TfrmStatistiche::Esiti));
    const QList<StatsRow> rows = topRows(esiti, kTopGroups);
    std::int64_t all = 0;
    for (const StatsRow& r : rows)
        all += r.figure.calls;
    auto* series = new QPieSeries;
    QStringList legend;
    for (const StatsRow& r : rows) {
        const double share = all > 0 ? 100.0 * static_cast<double>(r.figure.calls) / static_cast<double>(all) : 0;
        const QString percent = QLocale(QLocale::Italian).toString(share, 'f', 1) + QLatin1Char('%');
        QPieSlice* slice = series->append(percent, static_cast<qreal>(r.figure.calls));
        slice->setLabelVisible(share >= 3.0);
        legend.append(wrappedLegend(QStringLiteral("%1 (%2)").arg(shownVoce(r.voce), percent)));
        QObject::connect(slice, &QPieSlice::hovered, chart, [slice, r, percent](bool on) {
            slice->setExploded(on);
            if (on)
                tip(QStringLiteral("%1: %2 chiamate (%3)").arg(shownVoce(r.voce), number(r.figure.calls), percent));
        });
    }
    series->setPieSize(0.7);
    chart->addSeries(series);
    chart->legend()->setAlignment(Qt::AlignRight);
    const QList<QLegendMarker*> markers = chart->legend()->markers(series);
    for (qsizetype i = 0; i < markers.size() && i < legend.size(); ++i)
        markers[i]->setLabel(legend[i]);
    return chart;
}

// The operators' scale: the most calls and the longest average (minutes) of all of them, so that every
// part of a chart printed in parts has the same axes.
struct OperatorScale {
    std::int64_t calls = 0;
    double minutes = 0;
};

OperatorScale operatorScale(const QList<StatsRow>& rows) {
    OperatorScale scale;
    for (const StatsRow& r : rows) {
        scale.calls = std::max(scale.calls, r.figure.calls);
        scale.minutes = std::max(scale.minutes, r.figure.averageSeconds().value_or(0.0) / 60.0);
    }
    return scale;
}

// Every operator a horizontal bar, the most calls on top, the name whole beside it; a square read on the
// top axis marks the operator's average duration.
QChart* operatorChart(const QList<StatsRow>& rows, const OperatorScale& scale) {
    QChart* chart = newChart(TfrmStatistiche::pageTitle(TfrmStatistiche::Operatori));
    auto* calls = new QBarSet(QStringLiteral("Chiamate"));
    calls->setColor(QColor(0x2f, 0x73, 0x9b));
    auto* average = new QScatterSeries;
    average->setName(QStringLiteral("Durata media (minuti)"));
    average->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    average->setMarkerSize(9);
    average->setColor(QColor(0xe0, 0x8a, 0x2e));
    average->setBorderColor(QColor(0x80, 0x4a, 0x10));
    QStringList categories;
    const qsizetype n = rows.size();
    for (qsizetype i = 0; i < n; ++i) {
        const StatsRow& r = rows[n - 1 - i];
        *calls << static_cast<qreal>(r.figure.calls);
        if (const std::optional<double> seconds = r.figure.averageSeconds())
            average->append(*seconds / 60.0, static_cast<qreal>(i));
        QString label = shownVoce(r.voce);
        while (categories.contains(label))
            label += QChar(0x200B);
        categories.append(label);
    }
    auto* bars = new QHorizontalBarSeries;
    bars->append(calls);
    bars->setBarWidth(0.7);
    chart->addSeries(bars);
    chart->addSeries(average);
    auto* axisNames = new QBarCategoryAxis;
    axisNames->append(categories);
    QValueAxis* axisCalls = countAxis(scale.calls);
    QValueAxis* axisMinutes = wholeAxis(scale.minutes, QStringLiteral("Durata media (minuti)"));
    axisMinutes->setGridLineVisible(false);
    chart->addAxis(axisNames, Qt::AlignLeft);
    chart->addAxis(axisCalls, Qt::AlignBottom);
    chart->addAxis(axisMinutes, Qt::AlignTop);
    bars->attachAxis(axisNames);
    bars->attachAxis(axisCalls);
    average->attachAxis(axisNames);
    average->attachAxis(axisMinutes);
    const auto describe = [rows](int index) {
        if (index < 0 || index >= rows.size())
            return;
        const StatsRow& r = rows[rows.size() - 1 - index];
        tip(QStringLiteral("%1: %2 chiamate, durata media %3 (%4 durate non lette)")
                .arg(shownVoce(r.voce), number(r.figure.calls), formatAverage(r.figure), number(r.figure.unread)));
    };
    QObject::connect(calls, &QBarSet::hovered, chart, [describe](bool on, int index) {
        if (on)
            describe(index);
    });
    QObject::connect(average, &QScatterSeries::hovered, chart, [describe](const QPointF& point, bool on) {
        if (on)
            describe(qRound(point.y()));
    });
    return chart;
}

// The height in pixels an operator chart needs to keep a readable row for each of `operators`.
int operatorChartHeight(qsizetype operators) {
    return 150 + 24 * static_cast<int>(operators);
}

// On paper at most this many operators share a picture; more come in parts of equal size.
constexpr int kOperatorsPerPicture = 15;

QChart* weekHourChart(const CallStats& stats) {
    QChart* chart = newChart(TfrmStatistiche::pageTitle(TfrmStatistiche::GiorniOre));
    auto* series = new QStackedBarSeries;
    const QStringList& days = weekdayNames();
    static const QColor colours[7] = {QColor(0x1f, 0x4e, 0x79), QColor(0x2f, 0x73, 0x9b), QColor(0x4e, 0x9a, 0xc4),
                                      QColor(0x86, 0xbc, 0xdc), QColor(0xb8, 0xd6, 0xea), QColor(0xe0, 0x8a, 0x2e),
                                      QColor(0xc0, 0x50, 0x40)};
    std::int64_t max = 0;
    std::int64_t perHour[24] = {};
    for (int d = 0; d < 7; ++d) {
        auto* set = new QBarSet(days[d]);
        set->setColor(colours[d]);
        for (int h = 0; h < 24; ++h) {
            *set << static_cast<qreal>(stats.weekHour[d][h]);
            perHour[h] += stats.weekHour[d][h];
        }
        series->append(set);
    }
    for (std::int64_t n : perHour)
        max = std::max(max, n);
    series->setBarWidth(0.8);
    chart->addSeries(series);
    auto* axisX = new QBarCategoryAxis;
    for (int h = 0; h < 24; ++h)
        axisX->append(QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')));
    axisX->setTitleText(QStringLiteral("Ora del giorno"));
    QValueAxis* axisY = countAxis(max);
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisX);
    series->attachAxis(axisY);
    chart->legend()->setAlignment(Qt::AlignRight);
    QObject::connect(series, &QStackedBarSeries::hovered, chart, [](bool on, int index, QBarSet* set) {
        if (on)
            tip(QStringLiteral("%1, ore %2: %3 chiamate")
                    .arg(set->label(), QStringLiteral("%1").arg(index, 2, 10, QLatin1Char('0')),
                         number(static_cast<std::int64_t>(set->at(index)))));
    });
    return chart;
}

} // namespace

QString TfrmStatistiche::pageTitle(Page page) {
    switch (page) {
    case Mesi:
        return QStringLiteral("Chiamate per mese");
    case Esiti:
        return QStringLiteral("Esito delle chiamate");
    case Gradi:
        return QStringLiteral("Grado di soddisfazione");
    case Operatori:
        return QStringLiteral("Chiamate e durata media per operatore");
    case Oggetti:
        return QStringLiteral("I dieci oggetti più frequenti");
    case GiorniOre:
        return QStringLiteral("Chiamate per giorno della settimana e ora");
    case PageCount:
        break;
    }
    return {};
}

TfrmStatistiche::TfrmStatistiche(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmStatistiche"));
    setWindowTitle(QStringLiteral(" Ombrisa - Statistiche delle chiamate"));
    setStyleSheet(QStringLiteral(
        "#frmStatistiche { background: #eef3f8; }"
        "QGroupBox { font-weight: bold; color: #245a80; border: 1px solid #b8c9da; border-radius: 4px;"
        " margin-top: 10px; padding: 6px 8px 4px 8px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 10px; }"
        "QLabel#lblTotale { color: #1f3b57; font-weight: bold; }"));
    applyScreenFormats();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(6);
    buildIntervalBar(this, column);

    lblTotale = new QLabel(this);
    lblTotale->setObjectName(QStringLiteral("lblTotale"));
    lblTotale->setWordWrap(true);
    markAsStatus(lblTotale);
    column->addWidget(lblTotale);

    tabGrafici = new QTabWidget(this);
    tabGrafici->setObjectName(QStringLiteral("tabGrafici"));
    tabGrafici->setAccessibleName(QStringLiteral("Grafici e tabelle"));
    static const char* const chartNames[PageCount] = {"grfMesi",      "grfEsiti",   "grfGradi",
                                                       "grfOperatori", "grfOggetti", "grfGiorniOre"};
    static const char* const tableNames[PageCount] = {"tblMesi",      "tblEsiti",   "tblGradi",
                                                       "tblOperatori", "tblOggetti", "tblGiorniOre"};
    static const char* const tabCaptions[PageCount] = {"Mesi", "Esiti", "Soddisfazione", "Operatori", "Oggetti",
                                                        "Giorni e ore"};
    for (int p = 0; p < PageCount; ++p) {
        auto* split = new QSplitter(p == GiorniOre ? Qt::Vertical : Qt::Horizontal, tabGrafici);
        split->setChildrenCollapsible(false);
        charts_[p] = new QChartView(split);
        charts_[p]->setObjectName(QLatin1String(chartNames[p]));
        charts_[p]->setRenderHint(QPainter::Antialiasing);
        charts_[p]->setMinimumSize(300, 200);
        charts_[p]->setChart(newChart(pageTitle(static_cast<Page>(p))));
        QWidget* chartSide = charts_[p];
        if (p == Operatori) {
            // Every operator has a row: with many, the chart grows and scrolls.
            auto* scroll = new QScrollArea(split);
            scroll->setObjectName(QStringLiteral("scrOperatori"));
            scroll->setWidgetResizable(true);
            scroll->setFrameShape(QFrame::NoFrame);
            scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            scroll->setWidget(charts_[p]);
            scroll->setFocusPolicy(Qt::NoFocus); // the chart view inside takes the focus
            chartSide = scroll;
        }
        models_[p] = new QStandardItemModel(this);
        tables_[p] = new QTableView(split);
        tables_[p]->setObjectName(QLatin1String(tableNames[p]));
        tables_[p]->setModel(models_[p]);
        tables_[p]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tables_[p]->setTabKeyNavigation(false); // Tab leaves the table (the arrows move in it)
        tables_[p]->setSelectionBehavior(QAbstractItemView::SelectRows);
        tables_[p]->setAlternatingRowColors(p != GiorniOre);
        tables_[p]->verticalHeader()->setVisible(p == GiorniOre);
        tables_[p]->verticalHeader()->setDefaultSectionSize(22);
        tables_[p]->setMinimumWidth(200);
        charts_[p]->setAccessibleName(QStringLiteral("Grafico: ") + QString::fromUtf8(tabCaptions[p]));
        charts_[p]->viewport()->setFocusPolicy(Qt::NoFocus); // the view takes the focus, not its drawing area
        tables_[p]->setAccessibleName(QStringLiteral("Tabella: ") + QString::fromUtf8(tabCaptions[p]));
        split->addWidget(chartSide);
        split->addWidget(tables_[p]);
        split->setStretchFactor(0, 3);
        split->setStretchFactor(1, 2);
        tabGrafici->addTab(split, QString::fromUtf8(tabCaptions[p]));
    }
    column->addWidget(tabGrafici, 1);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](QPushButton** member, const char* name, const char* caption,
                                        const QString& hint) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        b->setMinimumWidth(120);
        makeClickable(b);
        buttons->addWidget(b);
        *member = b;
    };
    button(&btnSalva, "btnSalva", "Salva grafico...",
           QStringLiteral("Salva il grafico visualizzato e la sua tabella come PDF o come immagine PNG."));
    button(&btnStampa, "btnStampa", "Stampa grafico",
           QStringLiteral("Stampa il grafico visualizzato e la sua tabella."));
    buttons->addStretch(1);
    button(&btnGuida, "btnGuida", "Guida", QStringLiteral("Visualizza la guida di questa schermata."));
    button(&btnEsci, "btnEsci", "Esci", QStringLiteral("Chiudi le statistiche."));
    column->addLayout(buttons);

    connect(btnSalva, &QPushButton::clicked, this, &TfrmStatistiche::btnSalvaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmStatistiche::btnStampaClick);
    connect(btnGuida, &QPushButton::clicked, this, &TfrmStatistiche::btnGuidaClick);
    connect(btnEsci, &QPushButton::clicked, this, &QDialog::reject);

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, &TfrmStatistiche::updateProgress);

    clearFigures();
    setBusy(false);
    maximiseWindow(this);
}

TfrmStatistiche::~TfrmStatistiche() {
    stopJob();
}

void TfrmStatistiche::buildIntervalBar(QWidget* parent, QVBoxLayout* column) {
    auto* bar = new QHBoxLayout;
    bar->setSpacing(10);
    auto* from = new QGroupBox(QStringLiteral("Dal giorno"), parent);
    auto* to = new QGroupBox(QStringLiteral("Al giorno"), parent);
    bar->addWidget(from);
    bar->addWidget(to);
    buildIntervalBoxes(this, *this, {from, to, {nullptr, nullptr}, {}});

    auto* quick = new QGroupBox(QStringLiteral("Scelte rapide"), parent);
    auto* quickRow = new QHBoxLayout(quick);
    quickRow->setSpacing(4);
    const auto choice = [&](QPushButton** member, const char* name, const char* caption, QuickInterval which,
                            const QString& hint) {
        auto* b = new QPushButton(QString::fromUtf8(caption), quick);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setToolTip(hint);
        makeClickable(b);
        quickRow->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, which] { quickChoice(which); });
        *member = b;
    };
    choice(&btnQuestoMese, "btnQuestoMese", "Questo mese", QuickInterval::ThisMonth,
           QStringLiteral("Le chiamate del mese in corso."));
    choice(&btnMeseScorso, "btnMeseScorso", "Mese scorso", QuickInterval::LastMonth,
           QStringLiteral("Le chiamate del mese precedente."));
    choice(&btnQuestAnno, "btnQuestAnno", "Quest'anno", QuickInterval::ThisYear,
           QStringLiteral("Le chiamate dell'anno in corso."));
    choice(&btnUltimiDodici, "btnUltimiDodici", "Ultimi 12 mesi", QuickInterval::LastTwelveMonths,
           QStringLiteral("Le chiamate del mese in corso e degli undici precedenti."));
    choice(&btnTutto, "btnTutto", "Tutto", QuickInterval::Everything,
           QStringLiteral("Tutte le chiamate del registro (le date restano vuote)."));
    bar->addWidget(quick);

    auto* actions = new QVBoxLayout;
    actions->setSpacing(4);
    auto* actionRow = new QHBoxLayout;
    btnCalcola = new QPushButton(QStringLiteral("Calcola"), parent);
    btnCalcola->setObjectName(QStringLiteral("btnCalcola"));
    btnCalcola->setToolTip(QStringLiteral("Calcola le statistiche dell'intervallo indicato; con le date vuote, "
                                          "di tutto il registro."));
    btnCalcola->setDefault(true);
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), parent);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnAnnulla->setToolTip(QStringLiteral("Interrompe il calcolo in corso."));
    btnAnnulla->setAutoDefault(false);
    makeClickable(btnCalcola);
    makeClickable(btnAnnulla);
    actionRow->addWidget(btnCalcola);
    actionRow->addWidget(btnAnnulla);
    actions->addLayout(actionRow);
    prgCalcolo = new QProgressBar(parent);
    prgCalcolo->setObjectName(QStringLiteral("prgCalcolo"));
    prgCalcolo->setRange(0, 100);
    prgCalcolo->setTextVisible(true);
    prgCalcolo->setFixedHeight(18);
    QSizePolicy keep = prgCalcolo->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    prgCalcolo->setSizePolicy(keep);
    actions->addWidget(prgCalcolo);
    bar->addLayout(actions);
    bar->addStretch(1);
    column->addLayout(bar);

    connect(btnCalcola, &QPushButton::clicked, this, &TfrmStatistiche::btnCalcolaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &TfrmStatistiche::btnAnnullaClick);
}

void TfrmStatistiche::setInterval(const StatsInterval& interval) {
    showInterval(interval.from, interval.to);
}

void TfrmStatistiche::quickChoice(QuickInterval choice) {
    if (busy())
        return;
    setInterval(quickInterval(choice, clock().today()));
    btnCalcolaClick();
}

void TfrmStatistiche::btnCalcolaClick() {
    if (busy())
        return;
    const StatsIntervalCheck check = checkStatsInterval(intervalInput());
    if (const auto& refusal = check.check.refusal) {
        showIntervalRefusal(this, *refusal);
        return;
    }
    startJob(check.interval);
}

void TfrmStatistiche::btnAnnullaClick() {
    if (job_)
        job_->cancel = true;
}

bool TfrmStatistiche::busy() const {
    return thread_ != nullptr;
}

void TfrmStatistiche::startJob(const StatsInterval& interval) {
    auto job = std::make_shared<Job>();
    job_ = job;
    jobInterval_ = interval;
    const QString path = appPath(kChiamateFile);
    thread_ = QThread::create([job, path, interval] {
        job->result = computeCallStats(path, interval, [job](std::int64_t done, std::int64_t count) {
            job->done = done;
            job->count = count;
            return !job->cancel.load();
        });
    });
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, &TfrmStatistiche::jobFinished);
    setBusy(true);
    prgCalcolo->setValue(0);
    lblTotale->setText(QStringLiteral("Calcolo delle statistiche in corso..."));
    thread_->start(QThread::LowPriority);
    progressTimer_->start();
}

void TfrmStatistiche::stopJob() {
    if (!thread_)
        return;
    job_->cancel = true;
    thread_->wait();
}

void TfrmStatistiche::updateProgress() {
    if (!job_)
        return;
    const std::int64_t count = job_->count.load();
    if (count > 0)
        prgCalcolo->setValue(static_cast<int>(std::min<std::int64_t>(100, job_->done.load() * 100 / count)));
}

void TfrmStatistiche::jobFinished() {
    progressTimer_->stop();
    if (thread_) {
        thread_->deleteLater();
        thread_ = nullptr;
    }
    const std::shared_ptr<Job> job = std::move(job_);
    if (!job) {
        setBusy(false);
        return;
    }
    if (job->result.cancelled || !job->result.ok) {
        // The figures shown stay those of before: so do the boxes.
        if (computed_)
            setInterval(shownInterval_);
        setBusy(false);
        if (job->result.cancelled) {
            lblTotale->setText(computed_ ? QStringLiteral("Calcolo annullato: restano le statistiche di prima (%1).")
                                               .arg(intervalTitle(shownInterval_))
                                         : QStringLiteral("Calcolo annullato."));
        } else {
            lblTotale->setText(QString());
            showWarning(this, QStringLiteral("Attenzione: impossibile leggere il registro delle chiamate.\n\r\n\r%1")
                                  .arg(job->result.error));
        }
    } else {
        stats_ = std::move(job->result);
        shownInterval_ = jobInterval_;
        computed_ = true;
        setBusy(false); // after computed_: saving and printing are offered at once
        showFigures();
    }
    emit finishedComputing();
}

void TfrmStatistiche::setBusy(bool running) {
    for (QWidget* w : std::initializer_list<QWidget*>{txtGiornoInizio, txtMeseInizio, txtAnnoInizio, txtGiornoFine,
                                                      txtMeseFine, txtAnnoFine, btnQuestoMese, btnMeseScorso,
                                                      btnQuestAnno, btnUltimiDodici, btnTutto, btnCalcola})
        w->setEnabled(!running);
    btnAnnulla->setEnabled(running);
    prgCalcolo->setVisible(running);
    btnSalva->setEnabled(!running && computed_);
    btnStampa->setEnabled(!running && computed_);
}

void TfrmStatistiche::clearFigures() {
    lblTotale->setText(QStringLiteral("Indicare l'intervallo (oppure lasciare vuote le date per tutto il registro) "
                                      "e fare clic su Calcola, o scegliere un intervallo fra le scelte rapide."));
}

void TfrmStatistiche::showFigures() {
    const CallStats& s = stats_;
    QString total = QStringLiteral("Totale delle chiamate, %1: %2; durata complessiva %3 minuti, durata media %4")
                        .arg(intervalTitle(shownInterval_), number(s.total.calls), number(s.total.minutes()),
                             formatAverage(s.total));
    if (s.total.unread > 0)
        total += QStringLiteral(" (%1 durate non lette escluse dalla media)").arg(number(s.total.unread));
    total += QLatin1Char('.');
    if (!s.undated.isEmpty())
        total += QStringLiteral(" %1 chiamate con una data illeggibile contano solo nel totale.")
                     .arg(number(s.undated.size()));
    announce(lblTotale, total);

    // Months.
    QStandardItemModel* m = models_[Mesi];
    m->clear();
    m->setHorizontalHeaderLabels({QStringLiteral("Mese"), QStringLiteral("In entrata"), QStringLiteral("In uscita"),
                                  QStringLiteral("Altre"), QStringLiteral("Chiamate"), QStringLiteral("Minuti"),
                                  QStringLiteral("Durate non lette")});
    for (const StatsMonth& month : s.months)
        m->appendRow({cell(month.voce), cell(number(month.incoming), true), cell(number(month.outgoing), true),
                      cell(number(month.other), true), cell(number(month.figure.calls), true),
                      cell(number(month.figure.minutes()), true), cell(number(month.figure.unread), true)});
    fillRows(models_[Esiti], QStringLiteral("Esito"), s.esito);
    fillRows(models_[Gradi], QStringLiteral("Grado"), s.grado);
    fillRows(models_[Operatori], QStringLiteral("Operatore"), s.operatore);
    fillRows(models_[Oggetti], QStringLiteral("Oggetto"), s.oggetto);

    // Weekday by hour: a heat map, the busier the darker.
    QStandardItemModel* g = models_[GiorniOre];
    g->clear();
    QStringList hours;
    for (int h = 0; h < 24; ++h)
        hours.append(QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')));
    hours.append(QStringLiteral("Totale"));
    g->setHorizontalHeaderLabels(hours);
    std::int64_t max = 0;
    for (const auto& day : s.weekHour)
        for (std::int64_t n : day)
            max = std::max(max, n);
    for (int d = 0; d < 7; ++d) {
        QList<QStandardItem*> row;
        for (int h = 0; h < 24; ++h) {
            const std::int64_t n = s.weekHour[d][h];
            QStandardItem* c = cell(number(n), true);
            const double share = max > 0 ? static_cast<double>(n) / static_cast<double>(max) : 0.0;
            const auto shade = [share](double depth) { return static_cast<float>(1.0 - depth * share); };
            c->setBackground(QColor::fromRgbF(shade(0.8), shade(0.55), shade(0.35)));
            c->setForeground(share > 0.55 ? QColor(Qt::white) : QColor(Qt::black));
            c->setToolTip(QStringLiteral("%1, ore %2: %3 chiamate").arg(weekdayNames()[d], hours[h], number(n)));
            row.append(c);
        }
        row.append(cell(number(s.giorno[d].figure.calls), true));
        g->appendRow(row);
    }
    g->setVerticalHeaderLabels(weekdayNames());

    for (int p = 0; p < PageCount; ++p) {
        tables_[p]->resizeColumnsToContents();
        if (p != GiorniOre) {
            // Every text whole; the table is made wide enough for its columns (fitTables).
            QHeaderView* header = tables_[p]->horizontalHeader();
            header->setSectionResizeMode(QHeaderView::ResizeToContents);
            header->setStretchLastSection(true);
        }
    }
    const QString withInterval = QStringLiteral(" — ") + intervalTitle(shownInterval_);
    QChart* charts[PageCount] = {
        monthsChart(s.months),
        outcomeChart(s.esito),
        groupChart(pageTitle(Gradi), topRows(s.grado, kTopGroups)),
        operatorChart(s.operatore, operatorScale(s.operatore)),
        groupChart(pageTitle(Oggetti), s.oggetto.mid(0, kTopGroups)),
        weekHourChart(s),
    };
    for (int p = 0; p < PageCount; ++p) {
        charts[p]->setTitle(charts[p]->title() + withInterval);
        QChart* old = charts_[p]->chart();
        charts_[p]->setChart(charts[p]);
        delete old;
    }
    charts_[Operatori]->setMinimumHeight(operatorChartHeight(s.operatore.size()));
    fitTables();
}

void TfrmStatistiche::fitTables() {
    for (int p = 0; p < PageCount; ++p) {
        QTableView* table = tables_[p];
        auto* split = qobject_cast<QSplitter*>(table->parentWidget());
        if (!split || split->orientation() != Qt::Horizontal)
            continue;
        // The table as wide as its columns (up to three fifths of the page), so no text is cut.
        int wanted = 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width() + 4;
        if (table->verticalHeader()->isVisible())
            wanted += table->verticalHeader()->width();
        for (int c = 0; c < table->model()->columnCount(); ++c)
            wanted += table->horizontalHeader()->sectionSize(c);
        const int total = std::max(split->width(), tabGrafici->width());
        const int tableWidth = std::clamp(wanted, table->minimumWidth(), total * 3 / 5);
        split->setSizes({total - tableWidth - split->handleWidth(), tableWidth});
    }
}

QList<QStringList> TfrmStatistiche::tableRows(Page page) const {
    const QStandardItemModel* m = models_[page];
    QList<QStringList> rows;
    QStringList header;
    const bool named = page == GiorniOre;
    if (named)
        header.append(QStringLiteral("Giorno"));
    for (int c = 0; c < m->columnCount(); ++c)
        header.append(m->headerData(c, Qt::Horizontal).toString());
    rows.append(header);
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList row;
        if (named)
            row.append(m->headerData(r, Qt::Vertical).toString());
        for (int c = 0; c < m->columnCount(); ++c)
            row.append(m->item(r, c) ? m->item(r, c)->text() : QString());
        rows.append(row);
    }
    return rows;
}

QString TfrmStatistiche::printTitle() const {
    const auto page = static_cast<Page>(std::clamp(tabGrafici->currentIndex(), 0, PageCount - 1));
    return pageTitle(page) + QStringLiteral(", ") + intervalTitle(shownInterval_);
}

namespace {

// The chart drawn into a picture of `size`, laid out again at half its pixels so that texts keep their
// size on paper (the picture is printed at 200 dots per inch).
QImage renderChart(QChart* chart, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QGraphicsScene own;
    const bool shown = chart->scene() != nullptr;
    if (!shown)
        own.addItem(chart);
    const QRectF before = chart->geometry();
    chart->resize(QSizeF(size) / 2.0);
    if (chart->layout())
        chart->layout()->activate();
    painter.scale(2.0, 2.0);
    chart->scene()->render(&painter, QRectF(QPointF(0, 0), QSizeF(size) / 2.0), chart->geometry());
    painter.end();
    if (shown)
        chart->setGeometry(before);
    else
        own.removeItem(chart);
    return image;
}

} // namespace

QList<QImage> TfrmStatistiche::chartImages(Page page) const {
    const QSize size = report::statsChartPictureSize();
    const QList<StatsRow>& operatori = stats_.operatore;
    if (page != Operatori || operatori.size() <= kOperatorsPerPicture)
        return {renderChart(charts_[page]->chart(), size)};
    // Many operators: parts of equal size on the same axes, each with a row per operator.
    const qsizetype parts = (operatori.size() + kOperatorsPerPicture - 1) / kOperatorsPerPicture;
    const qsizetype each = (operatori.size() + parts - 1) / parts;
    const OperatorScale scale = operatorScale(operatori);
    QList<QImage> images;
    for (qsizetype first = 0; first < operatori.size(); first += each) {
        const qsizetype last = std::min(operatori.size(), first + each);
        std::unique_ptr<QChart> chart(operatorChart(operatori.mid(first, last - first), scale));
        chart->setTitle(QStringLiteral("%1 — %2 (operatori da %3 a %4 di %5)")
                            .arg(pageTitle(Operatori), intervalTitle(shownInterval_), number(first + 1), number(last),
                                 number(operatori.size())));
        images.append(renderChart(chart.get(), size));
    }
    return images;
}

QImage TfrmStatistiche::chartPicture(Page page) const {
    QSize size = report::statsChartPictureSize();
    if (page == Operatori)
        size.setHeight(std::max(size.height(), 2 * operatorChartHeight(stats_.operatore.size())));
    return renderChart(charts_[page]->chart(), size);
}

void TfrmStatistiche::btnSalvaClick() {
    if (!computed_ || busy())
        return;
    const auto page = static_cast<Page>(std::clamp(tabGrafici->currentIndex(), 0, PageCount - 1));
    const QString suggested = appPath(QStringLiteral("Statistiche - %1.pdf").arg(pageTitle(page)));
    const QString path =
        fileChooser().saveFile(this, QStringLiteral("Salva il grafico"), suggested,
                               QStringLiteral("Documento PDF (*.pdf);;Immagine PNG (*.png)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    const QString title = printTitle();
    if (QFileInfo(path).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0) {
        QSaveFile file(path);
        const QImage image = chartPicture(page);
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
            showWarning(this, QStringLiteral("Attenzione: non è stato possibile scrivere il file %1.")
                                  .arg(QDir::toNativeSeparators(path)));
            return;
        }
        showInformation(this, QStringLiteral("Il grafico è stato salvato nel file %1.")
                                  .arg(QDir::toNativeSeparators(path)));
        return;
    }
    const report::OutputResult result = printerService().writePdf(
        report::prepareStatsChart(title, chartImages(page), report::statsTableLines(tableRows(page)), clock().now()),
        path,
        {title, QStringLiteral("Statistiche delle chiamate"), QStringLiteral("Ombrisa"), QStringLiteral("Ombrisa")});
    if (!result.done()) {
        showWarning(this, result.message);
        return;
    }
    showInformation(this,
                    QStringLiteral("Il grafico è stato salvato nel file %1.").arg(QDir::toNativeSeparators(path)));
}

void TfrmStatistiche::btnStampaClick() {
    if (!computed_ || busy())
        return;
    const auto page = static_cast<Page>(std::clamp(tabGrafici->currentIndex(), 0, PageCount - 1));
    const report::OutputResult result = printerService().print(
        report::prepareStatsChart(printTitle(), chartImages(page), report::statsTableLines(tableRows(page)),
                                  clock().now()),
        this);
    if (result.failed())
        showWarning(this, result.message);
}

void TfrmStatistiche::btnGuidaClick() {
    showHelp(this, kHelpStatisticheTitle, helpStatistiche());
}

void TfrmStatistiche::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || computed_ || busy())
        return;
    // A first look: the current year, computed at once (the screen stays usable meanwhile).
    setInterval(quickInterval(QuickInterval::ThisYear, clock().today()));
    btnCalcolaClick();
}

void TfrmStatistiche::closeEvent(QCloseEvent* event) {
    stopJob();
    QDialog::closeEvent(event);
}

void TfrmStatistiche::reject() {
    stopJob();
    QDialog::reject();
}

void openStatistiche(QWidget* caller) {
    execDialog(new TfrmStatistiche(caller));
}

} // namespace ombrisa
