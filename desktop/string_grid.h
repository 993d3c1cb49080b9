// The one string grid of every form: a table of texts addressed (column,
// row), with fixed heading rows and columns, no editing inside the grid and
// a per-cell paint hook.
//
// The forms drive everything from one signal, `clicked`: it fires after
// every change of the current cell, whether the user or the program made
// it, and after every mouse click on a cell, also on the current one. A
// handler may move the current cell again; the grid then runs the signal
// once more after the handler returns, never inside it, so handlers are
// never re-entered.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace dorv {

class StringGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    struct CellState {
        bool fixed = false;     // in a fixed row or column
        bool selected = false;  // the current cell
        bool focused = false;   // the current cell while the grid has the keyboard focus
    };

    // What the paint hook gets for one cell. `rect` is the cell without its
    // grid lines; the line below the cell is the pixel row just under
    // rect.bottom(), the line right of it the column just past rect.right().
    // The painter is not clipped to the cell, so a hook may draw on them.
    struct DrawCellArgs {
        int col = 0;
        int row = 0;
        QRect rect;
        CellState state;
        QString text;
    };
    using DrawCellHook = std::function<void(QPainter &, const DrawCellArgs &)>;

    explicit StringGrid(QWidget *parent = nullptr);

    int colCount() const { return colCount_; }
    int rowCount() const { return rowCount_; }
    // Texts keep their (column, row) across a resize; the current cell moves
    // back inside the grid when its row or column is gone.
    void setColCount(int count);
    void setRowCount(int count);

    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }
    // Changing them puts the current cell on the first free column (row).
    void setFixedCols(int count);
    void setFixedRows(int count);

    // Widths of columns in pixels. setDefaultColWidth sets every column.
    int colWidth(int col) const;
    void setColWidth(int col, int width);
    void setDefaultColWidth(int width);
    int rowHeight() const { return rowHeight_; }
    void setDefaultRowHeight(int height);

    void setGridLines(bool on);
    void setScrollBars(bool vertical, bool horizontal);

    // Texts outside the grid read as empty; writing them is ignored.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);

    // The current cell never lies in a fixed row or column; a request for
    // one is moved to the nearest non-fixed cell.
    int col() const { return col_; }
    int row() const { return row_; }
    void setCol(int col) { setCurrentCell(col, row_); }
    void setRow(int row) { setCurrentCell(col_, row); }
    void setCurrentCell(int col, int row);

    // First non-fixed row and column on screen.
    int topRow() const { return topRow_; }
    int leftCol() const { return leftCol_; }
    void setTopRow(int row);
    int visibleRowCount() const;

    // With the hook set, the grid paints each cell's background and text
    // first (when default drawing is on), then every grid line, then calls
    // the hook for each visible cell.
    void setDrawCellHook(DrawCellHook hook);
    void setDefaultDrawing(bool on);

    // The colours of the default drawing, also for hooks that paint their
    // own background: button face for fixed cells, highlight for the
    // current cell, white otherwise.
    QColor defaultBackground(const CellState &state) const;
    QColor defaultTextColor(const CellState &state) const;
    // Writes a cell text the way every grid does: 2 pixels right and down
    // from the cell's top left corner, clipped to the cell. A text wider
    // than the cell is fitted into it (desktop/fit_text.h), in a smaller
    // font on the line of its neighbours; one cut short even so shows whole
    // as the cell's tool tip.
    static void drawCellText(QPainter &painter, const QRect &rect, const QString &text);

    // Where a cell lies in the viewport now; an empty rect when it is
    // scrolled out of sight. (-1, -1) from cellAt for a point in no cell.
    QRect cellRect(int col, int row) const;
    QPoint cellAt(const QPoint &viewportPos) const;
    void repaintCell(int col, int row);

    QSize sizeHint() const override;

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;

private:
    int lineWidth() const { return gridLines_ ? 1 : 0; }
    int colLeft(int col) const;
    int visibleColCount() const;
    void moveTo(int col, int row, bool clickedOnCell);
    void notifyClicked();
    void clampCurrent();
    void scrollToCurrent();
    void updateScrollBars();

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int rowHeight_ = 24;
    bool gridLines_ = true;
    bool defaultDrawing_ = true;
    std::vector<int> colWidths_;
    std::vector<QString> cells_;  // row-major, rowCount_ x colCount_
    int col_ = 1;
    int row_ = 1;
    int topRow_ = 1;
    int leftCol_ = 1;
    DrawCellHook drawHook_;
    bool notifying_ = false;
    bool notifyAgain_ = false;
};

}  // namespace dorv
