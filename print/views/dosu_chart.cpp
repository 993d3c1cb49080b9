#include "print/views/dosu_chart.h"

#include "desktop/fonts.h"
#include "print/views/flat_scene.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalStackedBarSeries>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>

namespace dorv {

namespace {

// 0x00BBGGRR $FF8000 and $400000.
const QColor kGradeColour{0, 128, 255};
const QColor kStudentColour{0, 0, 64};

// At 297 x 209 the default axis fonts elide the labels.
constexpr int kAxisFontPx = 9;
constexpr int kTitleFontPx = 12;

int Clamp(int series) { return series <= 0 ? 0 : 1; }

}  // namespace

TDosuChart::TDosuChart(const QString &title, QWidget *parent) : QChartView(parent) {
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(UiFont(kMsPMincho, kTitleFontPx));
    chart->setTitleBrush(Qt::black);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundPen(QPen(QColor(160, 160, 160), 1));
    chart->setPlotAreaBackgroundVisible(false);
    chart->setMargins(QMargins(2, 0, 6, 2));

    series_ = new QHorizontalStackedBarSeries;
    series_->setBarWidth(1.0);
    series_->setLabelsVisible(false);
    front_ = new QBarSet(QString());
    front_->setBrush(QBrush(kStudentColour, Qt::DiagCrossPattern));
    front_->setBorderColor(kStudentColour);
    back_ = new QBarSet(QString());
    back_->setBrush(QBrush(kGradeColour, Qt::FDiagPattern));
    back_->setBorderColor(kGradeColour);
    series_->append(front_);
    series_->append(back_);
    chart->addSeries(series_);

    const QFont axisFont = UiFont(kMsPGothic, kAxisFontPx);
    bottom_ = new QValueAxis;
    bottom_->setTitleText("人数");
    bottom_->setTitleFont(axisFont);
    bottom_->setLabelsFont(axisFont);
    bottom_->setLabelFormat("%d");
    bottom_->setMinorTickCount(0);
    // Qt cuts the last count short ("1…" for 100) rather than give it room
    // beside the plot; whole, the plot leaves it that room.
    bottom_->setTruncateLabels(false);
    left_ = new QBarCategoryAxis;
    left_->setLabelsFont(axisFont);
    left_->setTitleVisible(false);
    // The band positions are short; the axis would elide them all the same.
    left_->setTruncateLabels(false);
    chart->addAxis(bottom_, Qt::AlignBottom);
    chart->addAxis(left_, Qt::AlignLeft);
    series_->attachAxis(bottom_);
    series_->attachAxis(left_);

    setChart(chart);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setRenderHint(QPainter::Antialiasing, false);
    setFixedSize(kWidth, kHeight);
    // A chart that was never on screen is printed at its own size too.
    chart->resize(kWidth, kHeight);
    dirty_ = true;
    sync();
}

TDosuChart::~TDosuChart() = default;

void TDosuChart::clearSeries(int series) {
    bars_[Clamp(series)].clear();
    changed();
}

void TDosuChart::addBar(int series, int position, int length) {
    bars_[Clamp(series)].push_back({position, length});
    changed();
}

const std::vector<TDosuBar> &TDosuChart::bars(int series) const { return bars_[Clamp(series)]; }

QString TDosuChart::title() const { return chart()->title(); }

std::string TDosuChart::Label() const { return title().toStdString(); }

void TDosuChart::changed() {
    dirty_ = true;
    if (syncQueued_) return;
    syncQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        syncQueued_ = false;
        sync();
    });
}

void TDosuChart::showEvent(QShowEvent *event) {
    sync();
    QChartView::showEvent(event);
}

void TDosuChart::sync() const {
    if (!dirty_) return;
    dirty_ = false;
    // One category per position, in the order the positions first came;
    // a later bar at a position replaces the earlier one of its series.
    std::vector<int> positions;
    for (const auto &series : bars_)
        for (const TDosuBar &bar : series)
            if (std::find(positions.begin(), positions.end(), bar.Position) == positions.end())
                positions.push_back(bar.Position);
    std::vector<int> grade(positions.size(), 0), student(positions.size(), 0);
    for (int s = 0; s < 2; ++s)
        for (const TDosuBar &bar : bars_[s]) {
            const auto i = std::find(positions.begin(), positions.end(), bar.Position) - positions.begin();
            (s == 0 ? grade : student)[i] = bar.Length;
        }

    QStringList categories;
    QList<qreal> front, back;
    int top = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        categories << QString::number(positions[i]);
        const int shown = std::max(student[i], 0);
        front << shown;
        back << std::max(grade[i] - shown, 0);
        top = std::max({top, grade[i], student[i]});
    }
    // A sheet of a grade changes a bar or two of each chart from one student
    // to the next, and the axes not at all: only what changed is handed to
    // the chart, which lays out again only for new axes.
    bool axesChanged = false;
    if (categories != left_->categories()) {
        front_->remove(0, front_->count());
        back_->remove(0, back_->count());
        front_->append(front);
        back_->append(back);
        left_->clear();
        left_->append(categories);
        axesChanged = true;
    } else {
        for (qsizetype i = 0; i < categories.size(); ++i) {
            if (front_->at(i) != front[i]) front_->replace(i, front[i]);
            if (back_->at(i) != back[i]) back_->replace(i, back[i]);
        }
    }
    // An axis emptied of its categories goes on drawing the labels it had.
    if (left_->isVisible() == categories.isEmpty()) {
        left_->setVisible(!categories.isEmpty());
        axesChanged = true;
    }

    // Whole students on the axis, at most ten steps.
    const int max = std::max(1, top);
    int step = 1;
    while (max / step > 10) step = step == 1 ? 2 : step == 2 ? 5 : step * 2;
    const int end = (max + step - 1) / step * step;
    if (bottom_->min() != 0 || bottom_->max() != end || bottom_->tickCount() != end / step + 1) {
        bottom_->setRange(0, end);
        bottom_->setTickCount(end / step + 1);
        axesChanged = true;
    }
    // The axes lay out their labels only when the chart's layout runs, which
    // is otherwise left to the event loop: a chart drawn into a page at once
    // would show the ticks of its previous figures.
    if (QGraphicsLayout *layout = chart()->layout(); layout != nullptr && axesChanged) {
        layout->invalidate();
        layout->activate();
    }
    // New axes are new items and texts to print.
    if (axesChanged) flat_.reset();
}

void TDosuChart::Paint(QPainter &painter, const QRectF &target) const {
    // The scene keeps the chart's screen geometry, so the print comes out as
    // the view draws it, only scaled; drawn flat, a page of charts is a
    // fraction of what the scene's own rendering writes.
    sync();
    // Laid out anew since (the view shown, say): the texts are elsewhere.
    if (flat_ != nullptr && flatPlotArea_ != chart()->plotArea()) flat_.reset();
    if (flat_ == nullptr) {
        flat_ = std::make_unique<TFlatScene>(*scene());
        flatPlotArea_ = chart()->plotArea();
    }
    flat_->Draw(painter, target, chart()->sceneBoundingRect());
}

}  // namespace dorv
