// What a user sees of an open form, checked with gtest expectations:
// - no text of a button, check box, radio button, label or grid heading is
//   wider than the room its widget gives it (the widget's own font metrics
//   against its contents);
// - a grid whose cells fit its frame (or that has no scroll bars) shows
//   every cell in its viewport and no scroll bar;
// - every text reads against what is behind it, and a disabled control
//   looks disabled.
#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace dorv {
class StringGrid;
}

namespace dorv::testing {

void ExpectEverythingInView(QWidget &form);

// Every cell of the grid lies inside its viewport, no scroll bar shows.
void ExpectGridWhole(const StringGrid &grid, const QString &where);

// WCAG contrast ratio of two colours (1 to 21).
double Contrast(const QColor &a, const QColor &b);

}  // namespace dorv::testing
