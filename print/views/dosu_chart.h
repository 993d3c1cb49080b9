// One frequency chart of a test's subject: horizontal bars at the middle of
// each 10-point band (5, 15, .., 95) on the left axis, the number of students
// as the bar's length on the bottom axis "人数". It holds two series: series
// 0 for the grade's bands, series 1 for a student's own band, drawn over
// series 0 with its own colour and hatch. The same object is shown in the
// frequency view and drawn into a printer rectangle by the individual
// result sheet, so both show the same figures. The entry forms' chart
// (input/dosu_chart.h) only looks alike: one series, never printed.
#pragma once

#include "print/layer/qt_canvas.h"

#include <QChartView>
#include <QRectF>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QBarCategoryAxis;
class QBarSet;
class QHorizontalStackedBarSeries;
class QValueAxis;

namespace dorv {

class TFlatScene;

struct TDosuBar {
    int Position = 0;  // on the left axis
    int Length = 0;    // on the bottom axis
    bool operator==(const TDosuBar &) const = default;
};

class TDosuChart : public QChartView, public print::TQtCanvasChart {
    Q_OBJECT

public:
    static constexpr int kWidth = 297;
    static constexpr int kHeight = 209;

    explicit TDosuChart(const QString &title, QWidget *parent = nullptr);
    ~TDosuChart() override;

    void clearSeries(int series);
    void addBar(int series, int position, int length);
    const std::vector<TDosuBar> &bars(int series) const;

    QString title() const;

    // The Qt side, for tests: one stacked series of two sets per category,
    // the student's band at the base and the rest of the grade's bar after
    // it, which draws exactly as series 1 laid over series 0.
    // The bars reach these when they are next looked at or drawn.
    QBarSet *frontSet() const { return sync(), front_; }
    QBarSet *backSet() const { return sync(), back_; }
    QBarCategoryAxis *leftAxis() const { return sync(), left_; }
    QValueAxis *bottomAxis() const { return sync(), bottom_; }

    // print::TQtCanvasChart
    std::string Label() const override;
    void Paint(QPainter &painter, const QRectF &target) const override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Bars come one at a time; the chart is laid out again once for a batch.
    void changed();
    void sync() const;

    std::vector<TDosuBar> bars_[2];
    mutable bool dirty_ = false;
    bool syncQueued_ = false;
    QHorizontalStackedBarSeries *series_;
    QBarSet *front_;  // series 1
    QBarSet *back_;   // what series 0 shows beyond series 1
    QBarCategoryAxis *left_;
    QValueAxis *bottom_;
    // What the scene draws, taken at the first print after a layout.
    mutable std::unique_ptr<TFlatScene> flat_;
    mutable QRectF flatPlotArea_;
};

}  // namespace dorv
