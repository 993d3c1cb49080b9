// What a user sees of an open form, checked with gtest expectations:
// - no text of a button, check box, radio button, label or grid heading is
//   wider than the room its widget gives it (the widget's own font metrics
//   against its contents);
// - every cell of every grid, scrolled through from the first row to the
//   last, draws its text whole inside the cell in a readable size, or cut
//   short with "…" and whole as the cell's tool tip;
// - every label of every chart axis is drawn whole inside its chart, apart
//   from the others;
// - a grid whose cells fit its frame (or that has no scroll bars) shows
//   every cell in its viewport and no scroll bar;
// - every text reads against what is behind it, and a disabled control
//   looks disabled.
#pragma once

#include <QColor>
#include <QString>

class QChartView;
class QWidget;

namespace dorv {
class StringGrid;
}

namespace dorv::testing {

void ExpectEverythingInView(QWidget &form);

// Every cell of the grid lies inside its viewport, no scroll bar shows.
void ExpectGridWhole(const StringGrid &grid, const QString &where);

// What the grid draws in its cells, every row and column scrolled into view
// in turn; the grid is left scrolled as it was.
void ExpectGridTextsWhole(StringGrid &grid, const QString &where);

// What the chart draws: its axes' labels, titles and value labels.
void ExpectChartTextsWhole(QChartView &view, const QString &where);

// WCAG contrast ratio of two colours (1 to 21).
double Contrast(const QColor &a, const QColor &b);

}  // namespace dorv::testing
