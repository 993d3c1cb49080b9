// The tool tip a widget shows where the mouse rests, for the form tests.
#pragma once

#include <QApplication>
#include <QHelpEvent>
#include <QPoint>
#include <QString>
#include <QToolTip>
#include <QWidget>

namespace dorv::testing {

// Qt fades a tip out over a while instead of closing it; a test closes it at
// once, so the next question starts without one.
inline void CloseToolTip() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel")) w->close();
}

// What `widget` shows as its tool tip at `pos`; empty for none.
inline QString ToolTipAt(QWidget &widget, const QPoint &pos) {
    CloseToolTip();
    QHelpEvent help(QEvent::ToolTip, pos, widget.mapToGlobal(pos));
    QApplication::sendEvent(&widget, &help);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    CloseToolTip();
    return text;
}

}  // namespace dorv::testing
