#include "screen_check.h"

#include "desktop/string_grid.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace dorv::testing {

namespace {

// Texts on a bright or dark face must stand out at least this much.
constexpr double kMinContrast = 3.0;

std::string Where(const QWidget &w) {
    const QWidget *window = w.window();
    QString name = w.objectName();
    if (name.isEmpty()) name = w.metaObject()->className();
    return (window->objectName() + " / " + name).toStdString();
}

int TextWidth(const QFontMetrics &fm, const QString &text) {
    int width = 0;
    for (const QString &line : text.split('\n')) width = std::max(width, fm.horizontalAdvance(line));
    return width;
}

QString Plain(QString text) { return text.remove('&'); }

int ButtonRoom(const QAbstractButton &b) {
    QStyleOptionButton opt;
    opt.initFrom(&b);
    opt.text = b.text();
    opt.icon = b.icon();
    opt.iconSize = b.iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(&b)) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<const QRadioButton *>(&b)) contents = QStyle::SE_RadioButtonContents;
    int room = b.style()->subElementRect(contents, &opt, &b).width();
    // A push button's icon sits left of the text, 4 pixels from it.
    if (contents == QStyle::SE_PushButtonContents && !b.icon().isNull()) room -= b.iconSize().width() + 4;
    return room;
}

int LabelRoom(const QLabel &l) {
    int room = l.contentsRect().width() - 2 * l.margin();
    if (l.indent() > 0) room -= l.indent();
    else if (l.indent() < 0 && l.frameWidth() > 0) room -= l.fontMetrics().horizontalAdvance('x') / 2;
    return room;
}

// The colour a widget's own text is painted on: its face, or the first
// ancestor that fills its background.
QColor Behind(const QWidget &w) {
    for (const QWidget *p = w.parentWidget(); p; p = p->parentWidget())
        if (p->autoFillBackground() || p->isWindow()) return p->palette().color(QPalette::Window);
    return w.palette().color(QPalette::Window);
}

struct Colours {
    QPalette::ColorRole text;
    QColor face;
};

Colours ColoursOf(const QWidget &w) {
    if (qobject_cast<const QLineEdit *>(&w)) return {QPalette::Text, w.palette().color(QPalette::Base)};
    if (qobject_cast<const QPushButton *>(&w)) return {QPalette::ButtonText, w.palette().color(QPalette::Button)};
    return {QPalette::WindowText, w.autoFillBackground() ? w.palette().color(QPalette::Window) : Behind(w)};
}

void ExpectReadable(const QWidget &w) {
    const Colours c = ColoursOf(w);
    if (!w.isEnabled()) {
        EXPECT_NE(w.palette().color(QPalette::Disabled, c.text), w.palette().color(QPalette::Active, c.text))
            << Where(w) << ": disabled but drawn as enabled";
        return;
    }
    const QColor text = w.palette().color(QPalette::Active, c.text);
    EXPECT_GE(Contrast(text, c.face), kMinContrast)
        << Where(w) << ": text " << text.name().toStdString() << " on " << c.face.name().toStdString();
}

bool FitsItsFrame(const StringGrid &g) {
    const int line = 1;
    int width = -line, height = -line;
    for (int c = 0; c < g.colCount(); ++c) width += g.colWidth(c) + line;
    height += g.rowCount() * (g.rowHeight() + line);
    const int frame = 2 * g.frameWidth();
    return width <= g.width() - frame && height <= g.height() - frame;
}

}  // namespace

double Contrast(const QColor &a, const QColor &b) {
    auto luminance = [](const QColor &c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void ExpectGridWhole(const StringGrid &g, const QString &where) {
    const std::string at = (where + " / " + g.objectName()).toStdString();
    EXPECT_FALSE(g.verticalScrollBar()->isVisible()) << at << ": vertical scroll bar";
    EXPECT_FALSE(g.horizontalScrollBar()->isVisible()) << at << ": horizontal scroll bar";
    const QRect view = g.viewport()->rect();
    for (int r = 0; r < g.rowCount(); ++r)
        for (int c = 0; c < g.colCount(); ++c) {
            const QRect cell = g.cellRect(c, r);
            EXPECT_TRUE(!cell.isEmpty() && view.contains(cell))
                << at << ": cell (" << c << ", " << r << ") at " << cell.x() << "," << cell.y() << " " << cell.width()
                << "x" << cell.height() << " in a viewport of " << view.width() << "x" << view.height()
                << " (first column " << g.leftCol() << ", first row " << g.topRow() << ")";
        }
}

void ExpectEverythingInView(QWidget &form) {
    const auto shown = [&form](const QWidget *w) { return w->isVisibleTo(&form); };

    for (const QAbstractButton *b : form.findChildren<QAbstractButton *>()) {
        if (!shown(b) || b->text().isEmpty()) continue;
        EXPECT_LE(TextWidth(b->fontMetrics(), Plain(b->text())), ButtonRoom(*b))
            << Where(*b) << ": \"" << b->text().toStdString() << "\" is cut";
        ExpectReadable(*b);
    }
    for (const QLabel *l : form.findChildren<QLabel *>()) {
        if (!shown(l) || l->text().isEmpty() || Qt::mightBeRichText(l->text())) continue;
        if (l->wordWrap()) {
            const QRect need = l->fontMetrics().boundingRect(l->contentsRect(), Qt::TextWordWrap, l->text());
            EXPECT_LE(need.height(), l->contentsRect().height())
                << Where(*l) << ": \"" << l->text().toStdString() << "\" is cut";
        } else {
            EXPECT_LE(TextWidth(l->fontMetrics(), l->text()), LabelRoom(*l))
                << Where(*l) << ": \"" << l->text().toStdString() << "\" is cut";
        }
        ExpectReadable(*l);
    }
    for (const QLineEdit *e : form.findChildren<QLineEdit *>())
        if (shown(e)) ExpectReadable(*e);
    for (const QGroupBox *g : form.findChildren<QGroupBox *>())
        if (shown(g) && !g->title().isEmpty()) ExpectReadable(*g);
    for (const StringGrid *g : form.findChildren<StringGrid *>()) {
        if (!shown(g)) continue;
        for (int r = 0; r < g->fixedRows(); ++r)
            for (int c = 0; c < g->colCount(); ++c) {
                // Cell texts start 2 pixels in from the cell's left edge.
                EXPECT_LE(TextWidth(g->fontMetrics(), g->cell(c, r)) + 2, g->colWidth(c))
                    << Where(*g) << ": heading \"" << g->cell(c, r).toStdString() << "\" is cut";
            }
        const bool noScrollBars = g->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
                                  g->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
        if (noScrollBars || FitsItsFrame(*g)) ExpectGridWhole(*g, form.objectName());
    }
}

}  // namespace dorv::testing
