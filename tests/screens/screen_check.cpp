#include "screen_check.h"

#include "drawn_texts.h"
#include "tool_tip.h"

#include "desktop/string_grid.h"

#include <QAbstractBarSeries>
#include <QAbstractButton>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace dorv::testing {

namespace {

// Texts on a bright or dark face must stand out at least this much.
constexpr double kMinContrast = 3.0;
// The smallest character height that still reads, unless a grid's own font
// is smaller; and how far a drawn text may stray by rounding.
constexpr int kReadablePx = 12;
constexpr double kSlack = 0.5;
// What a text cut short ends with.
const QChar kEllipsis(0x2026);

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

std::string Quoted(const QString &text) { return "\"" + text.toStdString() + "\""; }

std::string Box(const QRectF &r) {
    return QString("(%1, %2)-(%3, %4)").arg(r.left()).arg(r.top()).arg(r.right()).arg(r.bottom()).toStdString();
}

bool Inside(const QRectF &outer, const QRectF &box) {
    return outer.adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(box);
}

// The cells now in view; each cell once over all the pages.
void ExpectPageOfCellsWhole(StringGrid &g, const std::string &at, std::set<std::pair<int, int>> &checked) {
    const std::vector<DrawnText> drawn = DrawnTexts(*g.viewport());
    const int smallest = std::min(kReadablePx, QFontInfo(g.font()).pixelSize());
    for (int r = 0; r < g.rowCount(); ++r)
        for (int c = 0; c < g.colCount(); ++c) {
            const QRect rect = g.cellRect(c, r);
            if (rect.isEmpty() || !checked.insert({c, r}).second) continue;
            const QRectF cell(rect.x(), rect.y(), rect.width(), rect.height());
            std::vector<const DrawnText *> in;
            for (const DrawnText &t : drawn)
                if (t.box.left() >= cell.left() - kSlack && t.box.left() < cell.right() &&
                    t.box.center().y() >= cell.top() && t.box.center().y() <= cell.bottom())
                    in.push_back(&t);
            std::sort(in.begin(), in.end(), [](auto *a, auto *b) { return a->box.left() < b->box.left(); });
            QString shown;
            for (const DrawnText *t : in) shown += t->text;
            const QString text = g.cell(c, r);
            const std::string where = at + " cell (" + std::to_string(c) + ", " + std::to_string(r) + ") " +
                                      Quoted(text) + " drawn as " + Quoted(shown);
            if (text.trimmed().isEmpty()) {
                EXPECT_TRUE(shown.trimmed().isEmpty()) << where;
                continue;
            }
            for (const DrawnText *t : in) {
                EXPECT_TRUE(Inside(cell, t->ink) && (t->clip.isEmpty() || Inside(t->clip, t->ink)))
                    << where << ": " << Quoted(t->text) << " at " << Box(t->ink) << " runs out of the cell at "
                    << Box(cell) << (t->clip.isEmpty() ? "" : " clipped to " + Box(t->clip));
                EXPECT_GE(QFontInfo(t->font).pixelSize(), smallest) << where << ": too small to read";
            }
            if (shown.trimmed() == text.trimmed()) continue;
            // A name may be cut short where it shows whole as the tool tip;
            // a figure never is.
            bool figure = false;
            text.trimmed().toDouble(&figure);
            const bool cutShort =
                !figure && shown.endsWith(kEllipsis) && text.trimmed().startsWith(shown.chopped(1).trimmed());
            EXPECT_TRUE(cutShort) << where << (figure ? ": a figure cut short" : "");
            if (cutShort) {
                EXPECT_EQ(ToolTipAt(*g.viewport(), rect.center()), text) << where << ": no tool tip";
            }
        }
}

// The labels an axis has now, as the chart writes them.
QStringList AxisLabels(QAbstractAxis &axis) {
    if (auto *bars = qobject_cast<QBarCategoryAxis *>(&axis)) return bars->categories();
    QStringList labels;
    const auto *values = qobject_cast<QValueAxis *>(&axis);
    if (!values) return labels;
    // Whole-number formats take the value cut to an integer.
    const bool whole = values->labelFormat().contains('d') || values->labelFormat().contains('i');
    auto label = [&](double v) {
        return whole ? QString::number(static_cast<qint64>(v)) : QString::asprintf(values->labelFormat().toLatin1(), v);
    };
    if (values->tickType() == QValueAxis::TicksDynamic) {
        const double step = values->tickInterval();
        double v = values->tickAnchor() + std::ceil((values->min() - values->tickAnchor()) / step) * step;
        for (; v <= values->max() + step * 1e-9; v += step) labels << label(v);
    } else {
        const int n = values->tickCount();
        for (int i = 0; i < n; ++i) labels << label(values->min() + i * (values->max() - values->min()) / (n - 1));
    }
    return labels;
}

// The chart's texts besides its axis labels.
QStringList OwnTexts(QChart &chart) {
    QStringList own{chart.title()};
    for (QAbstractAxis *axis : chart.axes())
        if (axis->isVisible() && axis->isTitleVisible()) own << axis->titleText();
    if (chart.legend()->isVisible())
        for (QLegendMarker *marker : chart.legend()->markers()) own << marker->label();
    for (QAbstractSeries *series : chart.series())
        if (auto *bars = qobject_cast<QAbstractBarSeries *>(series); bars && bars->isLabelsVisible())
            for (QBarSet *set : bars->barSets())
                for (int i = 0; i < set->count(); ++i) own << QString::number(set->at(i));
    return own;
}

}  // namespace

void ExpectGridTextsWhole(StringGrid &g, const QString &where) {
    const std::string at = (where + " / " + g.objectName()).toStdString();
    const int top = g.topRow(), left = g.horizontalScrollBar()->value();
    std::set<std::pair<int, int>> checked;
    for (int row = g.fixedRows();; row += g.visibleRowCount()) {
        g.setTopRow(row);
        for (int h = 0; h <= g.horizontalScrollBar()->maximum(); ++h) {
            g.horizontalScrollBar()->setValue(h);
            ExpectPageOfCellsWhole(g, at, checked);
        }
        if (g.topRow() + g.visibleRowCount() >= g.rowCount()) break;
    }
    g.setTopRow(top);
    g.horizontalScrollBar()->setValue(left);
}

void ExpectChartTextsWhole(QChartView &view, const QString &where) {
    const std::string at = (where + " / " + view.objectName()).toStdString();
    QChart *chart = view.chart();
    const QRectF area = chart->sceneBoundingRect();
    std::vector<DrawnText> texts;
    for (DrawnText &t : DrawnTexts(*chart->scene(), area))
        if (!t.text.trimmed().isEmpty()) texts.push_back(std::move(t));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const DrawnText &t = texts[i];
        EXPECT_FALSE(t.text.contains(kEllipsis) || t.text.contains("..")) << at << ": " << Quoted(t.text) << " is cut";
        EXPECT_TRUE(Inside(area, t.ink) && (t.clip.isEmpty() || Inside(t.clip, t.ink)))
            << at << ": " << Quoted(t.text) << " at " << Box(t.ink) << " runs out of the chart at " << Box(area);
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const QRectF both = t.ink.intersected(texts[j].ink);
            EXPECT_TRUE(both.width() <= 1 || both.height() <= 1)
                << at << ": " << Quoted(t.text) << " and " << Quoted(texts[j].text) << " overlap";
        }
    }
    std::vector<bool> used(texts.size(), false);
    for (QAbstractAxis *axis : chart->axes()) {
        if (!axis->isVisible() || !axis->labelsVisible()) continue;
        for (const QString &label : AxisLabels(*axis)) {
            const auto found = std::find_if(texts.begin(), texts.end(), [&](const DrawnText &t) {
                return !used[&t - texts.data()] && t.text.trimmed() == label;
            });
            EXPECT_NE(found, texts.end()) << at << ": the axis label " << Quoted(label) << " is not drawn whole";
            if (found != texts.end()) used[found - texts.begin()] = true;
        }
    }
    // Nothing else but the chart's titles, its legend and its bars' values:
    // no label left from figures the chart no longer holds.
    const QStringList own = OwnTexts(*chart);
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_TRUE(used[i] || own.contains(texts[i].text.trimmed()))
            << at << ": " << Quoted(texts[i].text) << " is none of the chart's labels or titles";
}

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
        if (l->text().endsWith(kEllipsis)) {
            EXPECT_TRUE(l->toolTip().startsWith(l->text().chopped(1)) && l->toolTip() != l->text())
                << Where(*l) << ": \"" << l->text().toStdString() << "\" is cut short without its tool tip";
        }
        ExpectReadable(*l);
    }
    for (const QLineEdit *e : form.findChildren<QLineEdit *>())
        if (shown(e)) ExpectReadable(*e);
    for (const QGroupBox *g : form.findChildren<QGroupBox *>())
        if (shown(g) && !g->title().isEmpty()) ExpectReadable(*g);
    for (StringGrid *g : form.findChildren<StringGrid *>()) {
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
        ExpectGridTextsWhole(*g, form.objectName());
    }
    for (QChartView *v : form.findChildren<QChartView *>())
        if (shown(v)) ExpectChartTextsWhole(*v, form.objectName());
}

}  // namespace dorv::testing
