#include "desktop/string_grid.h"

#include "desktop/fit_text.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace dorv {

namespace {
const QColor kGridLine(192, 192, 192);
const QColor kFixedGridLine(128, 128, 128);

// Where a cell's text starts: 2 pixels in from its top left corner.
QRect TextRect(const QRect &cell) { return cell.adjusted(2, 2, 0, 0); }
}  // namespace

StringGrid::StringGrid(QWidget *parent) : QAbstractScrollArea(parent) {
    colWidths_.assign(colCount_, defaultColWidth_);
    cells_.resize(static_cast<size_t>(colCount_) * rowCount_);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Box);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    updateScrollBars();
}

void StringGrid::setColCount(int count) {
    count = std::max(0, count);
    if (count == colCount_) return;
    std::vector<QString> cells(static_cast<size_t>(count) * rowCount_);
    const int keep = std::min(count, colCount_);
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < keep; ++c)
            cells[static_cast<size_t>(r) * count + c] = std::move(cells_[static_cast<size_t>(r) * colCount_ + c]);
    cells_ = std::move(cells);
    colCount_ = count;
    colWidths_.resize(count, defaultColWidth_);
    clampCurrent();
}

void StringGrid::setRowCount(int count) {
    count = std::max(0, count);
    if (count == rowCount_) return;
    cells_.resize(static_cast<size_t>(colCount_) * count);
    rowCount_ = count;
    clampCurrent();
}

void StringGrid::setFixedCols(int count) {
    fixedCols_ = std::clamp(count, 0, colCount_);
    leftCol_ = fixedCols_;
    updateScrollBars();
    moveTo(fixedCols_, row_, false);
    viewport()->update();
}

void StringGrid::setFixedRows(int count) {
    fixedRows_ = std::clamp(count, 0, rowCount_);
    topRow_ = fixedRows_;
    updateScrollBars();
    moveTo(col_, fixedRows_, false);
    viewport()->update();
}

int StringGrid::colWidth(int col) const { return col >= 0 && col < colCount_ ? colWidths_[col] : 0; }

void StringGrid::setColWidth(int col, int width) {
    if (col < 0 || col >= colCount_) return;
    colWidths_[col] = std::max(0, width);
    updateScrollBars();
    viewport()->update();
}

void StringGrid::setDefaultColWidth(int width) {
    defaultColWidth_ = std::max(0, width);
    colWidths_.assign(colCount_, defaultColWidth_);
    updateScrollBars();
    viewport()->update();
}

void StringGrid::setDefaultRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    updateScrollBars();
    viewport()->update();
}

void StringGrid::setGridLines(bool on) {
    gridLines_ = on;
    updateScrollBars();
    viewport()->update();
}

void StringGrid::setScrollBars(bool vertical, bool horizontal) {
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

QString StringGrid::cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return {};
    return cells_[static_cast<size_t>(row) * colCount_ + col];
}

void StringGrid::setCell(int col, int row, const QString &text) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return;
    cells_[static_cast<size_t>(row) * colCount_ + col] = text;
    repaintCell(col, row);
}

void StringGrid::setCurrentCell(int col, int row) { moveTo(col, row, false); }

void StringGrid::setTopRow(int row) {
    const int last = std::max(fixedRows_, rowCount_ - visibleRowCount());
    topRow_ = std::clamp(row, fixedRows_, last);
    verticalScrollBar()->setValue(topRow_ - fixedRows_);
    viewport()->update();
}

// A cell is in full view when the cell itself fits; the grid line below or
// right of the last one may fall outside the viewport.
int StringGrid::visibleRowCount() const {
    const int step = rowHeight_ + lineWidth();
    const int room = viewport()->height() - fixedRows_ * step + lineWidth();
    return std::max(1, room / step);
}

int StringGrid::visibleColCount() const {
    int x = colLeft(leftCol_);
    int n = 0;
    for (int c = leftCol_; c < colCount_; ++c) {
        if (x + colWidths_[c] > viewport()->width() && n > 0) break;
        x += colWidths_[c] + lineWidth();
        ++n;
    }
    return std::max(1, n);
}

void StringGrid::setDrawCellHook(DrawCellHook hook) {
    drawHook_ = std::move(hook);
    viewport()->update();
}

void StringGrid::setDefaultDrawing(bool on) {
    defaultDrawing_ = on;
    viewport()->update();
}

QColor StringGrid::defaultBackground(const CellState &state) const {
    if (state.fixed) return palette().color(QPalette::Button);
    if (state.selected) return palette().color(QPalette::Highlight);
    return Qt::white;
}

QColor StringGrid::defaultTextColor(const CellState &state) const {
    if (state.selected && !state.fixed) return palette().color(QPalette::HighlightedText);
    return Qt::black;
}

void StringGrid::drawCellText(QPainter &painter, const QRect &rect, const QString &text) {
    QRect at = TextRect(rect);
    const FittedText fit = FitText(painter.font(), text, at.width());
    painter.save();
    painter.setClipRect(rect);
    const QFontMetrics own(painter.font());
    // A font as tall as the row starts higher, so its lowest strokes stay in
    // the cell.
    at.setTop(rect.top() + std::clamp(rect.height() - own.height(), 0, at.top() - rect.top()));
    if (fit.shrunk) {
        at.translate(0, own.ascent() - QFontMetrics(fit.font).ascent());
        painter.setFont(fit.font);
    }
    // Clipped to the cell only: a smaller font's glyphs may start above `at`.
    painter.drawText(at, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, fit.text);
    painter.restore();
}

int StringGrid::colLeft(int col) const {
    // Columns left of leftCol_ (other than the fixed ones) are scrolled away.
    int x = 0;
    for (int c = 0; c < fixedCols_ && c < col; ++c) x += colWidths_[c] + lineWidth();
    if (col < fixedCols_) return x;
    for (int c = leftCol_; c < col; ++c) x += colWidths_[c] + lineWidth();
    return x;
}

QRect StringGrid::cellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return {};
    if (col >= fixedCols_ && col < leftCol_) return {};
    if (row >= fixedRows_ && row < topRow_) return {};
    const int step = rowHeight_ + lineWidth();
    const int y = row < fixedRows_ ? row * step : (fixedRows_ + row - topRow_) * step;
    const int x = colLeft(col);
    if (x >= viewport()->width() || y >= viewport()->height()) return {};
    return QRect(x, y, colWidths_[col], rowHeight_);
}

QPoint StringGrid::cellAt(const QPoint &pos) const {
    if (pos.x() < 0 || pos.y() < 0) return {-1, -1};
    const int step = rowHeight_ + lineWidth();
    int row = pos.y() / step;
    if (row >= fixedRows_) row = row - fixedRows_ + topRow_;
    if (row >= rowCount_) return {-1, -1};
    int x = 0;
    for (int c = 0; c < colCount_; ++c) {
        if (c >= fixedCols_ && c < leftCol_) continue;
        x += colWidths_[c] + lineWidth();
        if (pos.x() < x) return {c, row};
    }
    return {-1, -1};
}

void StringGrid::repaintCell(int col, int row) {
    const QRect r = cellRect(col, row);
    if (!r.isEmpty()) viewport()->update(r.adjusted(-1, -1, 2, 2));
}

QSize StringGrid::sizeHint() const {
    int w = 2 * frameWidth();
    for (int c = 0; c < colCount_; ++c) w += colWidths_[c] + lineWidth();
    return {w, 2 * frameWidth() + rowCount_ * (rowHeight_ + lineWidth())};
}

void StringGrid::moveTo(int col, int row, bool clickedOnCell) {
    col = std::clamp(col, fixedCols_, std::max(fixedCols_, colCount_ - 1));
    row = std::clamp(row, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    const bool changed = col != col_ || row != row_;
    if (changed) {
        repaintCell(col_, row_);
        col_ = col;
        row_ = row;
        scrollToCurrent();
        repaintCell(col_, row_);
    }
    if (changed || clickedOnCell) notifyClicked();
}

void StringGrid::notifyClicked() {
    if (notifying_) {
        notifyAgain_ = true;
        return;
    }
    notifying_ = true;
    struct Reset {
        StringGrid *grid;
        ~Reset() { grid->notifying_ = false; }
    } reset{this};
    do {
        notifyAgain_ = false;
        emit clicked();
    } while (notifyAgain_);
}

void StringGrid::clampCurrent() {
    updateScrollBars();
    moveTo(col_, row_, false);
    viewport()->update();
}

void StringGrid::scrollToCurrent() {
    if (row_ >= fixedRows_) {
        const int visible = visibleRowCount();
        if (row_ < topRow_) setTopRow(row_);
        else if (row_ >= topRow_ + visible) setTopRow(row_ - visible + 1);
    }
    if (col_ >= fixedCols_) {
        if (col_ < leftCol_) {
            leftCol_ = col_;
        } else {
            while (leftCol_ < col_ && col_ >= leftCol_ + visibleColCount()) ++leftCol_;
        }
        horizontalScrollBar()->setValue(leftCol_ - fixedCols_);
    }
    viewport()->update();
}

void StringGrid::updateScrollBars() {
    const int scrollRows = std::max(0, rowCount_ - fixedRows_);
    const int visRows = visibleRowCount();
    verticalScrollBar()->setRange(0, std::max(0, scrollRows - visRows));
    verticalScrollBar()->setPageStep(visRows);
    int fixedWidth = 0;
    for (int c = 0; c < fixedCols_; ++c) fixedWidth += colWidths_[c] + lineWidth();
    // The last column that can be the left one: from there on every column fits.
    int lastLeft = colCount_ - 1;
    for (int c = colCount_ - 1, w = fixedWidth - lineWidth(); c >= fixedCols_; --c) {
        w += colWidths_[c] + lineWidth();
        if (w > viewport()->width()) break;
        lastLeft = c;
    }
    lastLeft = std::max(lastLeft, fixedCols_);
    horizontalScrollBar()->setRange(0, std::max(0, lastLeft - fixedCols_));
    topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, fixedRows_ + verticalScrollBar()->maximum()));
    leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, lastLeft));
}

void StringGrid::scrollContentsBy(int, int) {
    topRow_ = fixedRows_ + verticalScrollBar()->value();
    leftCol_ = fixedCols_ + horizontalScrollBar()->value();
    viewport()->update();
}

bool StringGrid::viewportEvent(QEvent *event) {
    if (event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QPoint at = cellAt(help->pos());
    const QRect rect = cellRect(at.x(), at.y());
    const QString text = cell(at.x(), at.y());
    if (!rect.isEmpty() && !FitText(font(), text, TextRect(rect).width()).whole)
        QToolTip::showText(help->globalPos(), text, viewport(), rect);
    else QToolTip::hideText();
    return true;
}

void StringGrid::paintEvent(QPaintEvent *) {
    QPainter painter(viewport());
    painter.setFont(font());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Window));

    std::vector<DrawCellArgs> visible;
    for (int r = 0; r < rowCount_; ++r) {
        if (r >= fixedRows_ && r < topRow_) continue;
        for (int c = 0; c < colCount_; ++c) {
            const QRect rect = cellRect(c, r);
            if (rect.isEmpty()) continue;
            DrawCellArgs a;
            a.col = c;
            a.row = r;
            a.rect = rect;
            a.state.fixed = r < fixedRows_ || c < fixedCols_;
            a.state.selected = !a.state.fixed && c == col_ && r == row_;
            a.state.focused = a.state.selected && hasFocus();
            a.text = cells_[static_cast<size_t>(r) * colCount_ + c];
            visible.push_back(std::move(a));
        }
        if (r >= fixedRows_ && (fixedRows_ + r - topRow_ + 1) * (rowHeight_ + lineWidth()) >= viewport()->height())
            break;
    }

    for (const DrawCellArgs &a : visible) {
        if (defaultDrawing_ || !drawHook_) {
            painter.fillRect(a.rect, defaultBackground(a.state));
            painter.setPen(defaultTextColor(a.state));
            drawCellText(painter, a.rect, a.text);
        }
    }
    if (gridLines_) {
        for (const DrawCellArgs &a : visible) {
            painter.setPen(a.state.fixed ? kFixedGridLine : kGridLine);
            const QRect &r = a.rect;
            painter.drawLine(r.left(), r.bottom() + 1, r.right() + 1, r.bottom() + 1);
            painter.drawLine(r.right() + 1, r.top(), r.right() + 1, r.bottom() + 1);
        }
    }
    if (drawHook_) {
        for (const DrawCellArgs &a : visible) {
            painter.save();
            drawHook_(painter, a);
            painter.restore();
        }
    }
}

void StringGrid::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const QPoint at = cellAt(event->position().toPoint());
    if (at.x() < fixedCols_ || at.y() < fixedRows_) return;
    moveTo(at.x(), at.y(), true);
}

void StringGrid::mouseReleaseEvent(QMouseEvent *event) { event->accept(); }

void StringGrid::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = cellAt(event->position().toPoint());
    if (at.x() < fixedCols_ || at.y() < fixedRows_) return;
    // The press before it has normally made the cell current already.
    moveTo(at.x(), at.y(), false);
    emit doubleClicked();
}

void StringGrid::keyPressEvent(QKeyEvent *event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up: moveTo(col_, row_ - 1, false); break;
    case Qt::Key_Down: moveTo(col_, row_ + 1, false); break;
    case Qt::Key_Left: moveTo(col_ - 1, row_, false); break;
    case Qt::Key_Right: moveTo(col_ + 1, row_, false); break;
    case Qt::Key_PageUp: moveTo(col_, row_ - visibleRowCount(), false); break;
    case Qt::Key_PageDown: moveTo(col_, row_ + visibleRowCount(), false); break;
    case Qt::Key_Home:
        if (ctrl) moveTo(col_, fixedRows_, false);
        else moveTo(fixedCols_, row_, false);
        break;
    case Qt::Key_End:
        if (ctrl) moveTo(col_, rowCount_ - 1, false);
        else moveTo(colCount_ - 1, row_, false);
        break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void StringGrid::wheelEvent(QWheelEvent *event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) setTopRow(topRow_ - 3 * steps);
    event->accept();
}

void StringGrid::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void StringGrid::focusInEvent(QFocusEvent *event) {
    QAbstractScrollArea::focusInEvent(event);
    repaintCell(col_, row_);
}

void StringGrid::focusOutEvent(QFocusEvent *event) {
    QAbstractScrollArea::focusOutEvent(event);
    repaintCell(col_, row_);
}

}  // namespace dorv
