#include "input/dosu_chart.h"

#include "desktop/fonts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace dorv {

DosuChart::DosuChart(QWidget *parent) : QChartView(parent) {
    auto *chart = new QChart;
    chart->setTitle("度数分布");
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(2, 2, 2, 2));

    series_ = new QHorizontalBarSeries;
    series_->setName("Series1");
    series_->setBarWidth(1.0);
    series_->setLabelsVisible(false);
    set_ = new QBarSet("Series1");
    set_->setColor(QColor(0, 128, 255));
    set_->setBorderColor(QColor(0, 128, 255).darker(140));
    series_->append(set_);
    chart->addSeries(series_);

    const QFont axisFont = UiFont(kMsPMincho, 12);
    bottom_ = new QValueAxis;
    bottom_->setTitleText("度数");
    bottom_->setLabelFormat("%d");
    bottom_->setLabelsFont(axisFont);
    bottom_->setTitleFont(axisFont);
    left_ = new QBarCategoryAxis;
    left_->setTitleText("階級");
    left_->setLabelsFont(axisFont);
    left_->setTitleFont(axisFont);
    chart->addAxis(bottom_, Qt::AlignBottom);
    chart->addAxis(left_, Qt::AlignLeft);
    series_->attachAxis(bottom_);
    series_->attachAxis(left_);

    setChart(chart);
    setRenderHint(QPainter::Antialiasing, false);
    fitBottomAxis();
}

void DosuChart::clearBars() {
    set_->remove(0, set_->count());
    left_->clear();
    fitBottomAxis();
}

void DosuChart::addBar(int position, int length) {
    left_->append(QString::number(position));
    set_->append(length);
    fitBottomAxis();
}

int DosuChart::barCount() const { return set_->count(); }

int DosuChart::barPosition(int i) const {
    const QStringList labels = left_->categories();
    return i >= 0 && i < labels.size() ? labels[i].toInt() : 0;
}

int DosuChart::barLength(int i) const { return i >= 0 && i < set_->count() ? static_cast<int>(set_->at(i)) : 0; }

void DosuChart::fitBottomAxis() {
    double top = 0;
    for (int i = 0; i < set_->count(); ++i) top = std::max(top, set_->at(i));
    // Ticks on whole students: at most ten steps of equal whole size.
    const int max = std::max(1, static_cast<int>(top));
    const int step = (max + 9) / 10;
    const int steps = (max + step - 1) / step;
    bottom_->setTickType(QValueAxis::TicksDynamic);
    bottom_->setTickAnchor(0);
    bottom_->setTickInterval(step);
    bottom_->setRange(0, step * steps);
}

}  // namespace dorv
