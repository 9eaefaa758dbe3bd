#pragma once

// The call statistics screen: the call register's figures over an interval, as charts with their tables.
// Opened from the call card's toolbar and from the start menu's call tile through openStatistiche().
// The figures are computed off the user-interface thread (core's computeCallStats), with progress and
// a cancel button; every chart can be saved as PNG or PDF and printed with the interval in its title.

#include "core/stats/callstats.h"
#include "ui/cards/intervalboxes.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <atomic>
#include <memory>

class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QThread;
class QTimer;
class QVBoxLayout;

namespace ombrisa {

class TfrmStatistiche : public QDialog, public IntervalBoxes {
    Q_OBJECT
public:
    explicit TfrmStatistiche(QWidget* parent = nullptr);
    ~TfrmStatistiche() override;

    // The interval boxes txtGiornoInizio ... txtAnnoFine are the hours interval screen's, inherited
    // (ui/cards/intervalboxes.h).

    // Quick choices: they fill the boxes (Tutto il registro empties them) and compute.
    QPushButton* btnQuestoMese = nullptr;
    QPushButton* btnMeseScorso = nullptr;
    QPushButton* btnQuestAnno = nullptr;
    QPushButton* btnUltimiDodici = nullptr;
    QPushButton* btnTutto = nullptr;
    QPushButton* btnCalcola = nullptr;
    QPushButton* btnAnnulla = nullptr;
    QProgressBar* prgCalcolo = nullptr;
    QLabel* lblTotale = nullptr;

    QTabWidget* tabGrafici = nullptr;
    // One page per chart: the chart and the table of its figures.
    enum Page { Mesi, Esiti, Gradi, Operatori, Oggetti, GiorniOre, PageCount };
    QChartView* chart(Page page) const { return charts_[page]; }
    QTableView* table(Page page) const { return tables_[page]; }
    // The page's title as printed ("Chiamate per mese").
    static QString pageTitle(Page page);

    QPushButton* btnSalva = nullptr;
    QPushButton* btnStampa = nullptr;
    QPushButton* btnGuida = nullptr;
    QPushButton* btnEsci = nullptr;

    // True while the figures are being computed.
    bool busy() const;
    // The figures shown and their interval (empty before the first computation).
    const CallStats& stats() const { return stats_; }
    const StatsInterval& shownInterval() const { return shownInterval_; }
    // Fills the six boxes with the interval (empty boxes for an open end).
    void setInterval(const StatsInterval& interval);
    // The rows of a page's table as shown, the column names first: what is printed under the chart.
    QList<QStringList> tableRows(Page page) const;
    // The title of the current page's chart with the interval: "Chiamate per mese, dal … al …".
    QString printTitle() const;

public slots:
    void btnCalcolaClick();
    void btnAnnullaClick();
    void btnSalvaClick();
    void btnStampaClick();
    void btnGuidaClick();

signals:
    // The computation has ended: figures shown, cancelled or failed.
    void finishedComputing();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct Job;
    void buildIntervalBar(QWidget* parent, QVBoxLayout* column);
    void quickChoice(QuickInterval choice);
    void startJob(const StatsInterval& interval);
    void stopJob();
    void jobFinished();
    void updateProgress();
    void setBusy(bool running);
    void showFigures();
    void clearFigures();
    void fitTables();
    // The page's chart for paper: one picture, or parts when the operators are too many for one.
    QList<QImage> chartImages(Page page) const;
    // The page's chart as one picture file: as tall as the operators need.
    QImage chartPicture(Page page) const;

    QChartView* charts_[PageCount] = {};
    QTableView* tables_[PageCount] = {};
    QStandardItemModel* models_[PageCount] = {};
    std::shared_ptr<Job> job_;
    QThread* thread_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    StatsInterval jobInterval_;
    CallStats stats_;
    StatsInterval shownInterval_;
    bool computed_ = false;
};

// Opens the statistics screen over `caller`, modal until it is closed.
void openStatistiche(QWidget* caller);

} // namespace ombrisa
