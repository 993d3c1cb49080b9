// The frequency chart beside an entry grid: one horizontal bar per band,
// the band's position on the left axis and its count as the bar's length.
//
// It only looks like the display program's chart (print/views/dosu_chart.h):
// that one has a title and an axis caption, holds a second series for a
// student's own band and draws itself into a printed page; this one is
// refilled on every entry and never printed.
#pragma once

#include <QChartView>
#include <QString>

class QBarCategoryAxis;
class QBarSet;
class QHorizontalBarSeries;
class QValueAxis;

namespace dorv {

class DosuChart : public QChartView {
    Q_OBJECT

public:
    explicit DosuChart(QWidget *parent = nullptr);

    void clearBars();
    // Appends one bar: `position` labels it on the left axis (the middle of
    // its band), `length` is its value on the bottom axis.
    void addBar(int position, int length);

    int barCount() const;
    int barPosition(int i) const;  // 0 for an index without a bar
    int barLength(int i) const;

    QHorizontalBarSeries *series() const { return series_; }
    QBarSet *barSet() const { return set_; }
    QValueAxis *bottomAxis() const { return bottom_; }
    QBarCategoryAxis *leftAxis() const { return left_; }

private:
    void fitBottomAxis();

    QHorizontalBarSeries *series_;
    QBarSet *set_;
    QValueAxis *bottom_;
    QBarCategoryAxis *left_;
};

}  // namespace dorv
