#include "desktop/string_grid.h"

#include "tool_tip.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using dorv::StringGrid;

namespace {

// A grid shaped like the entry forms': three fixed columns, one fixed row.
struct EntryGrid {
    StringGrid grid;
    EntryGrid() {
        grid.setColCount(8);
        grid.setRowCount(127);
        grid.setFixedCols(3);
        grid.setFixedRows(1);
        grid.setDefaultColWidth(26);
        grid.setDefaultRowHeight(16);
        grid.resize(305, 400);
        grid.show();
    }
    void click(int col, int row) {
        const QRect r = grid.cellRect(col, row);
        ASSERT_FALSE(r.isEmpty()) << col << "," << row;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, r.center());
    }
};

}  // namespace

TEST(StringGrid, ClickSignalFiresOnEveryMoveAndEveryClickOnACell) {
    struct Case {
        const char *what;
        std::function<void(EntryGrid &)> act;
        int emitted;
        int col, row;
    };
    const std::vector<Case> cases = {
        {"program moves to another cell", [](EntryGrid &g) { g.grid.setCurrentCell(5, 10); }, 1, 5, 10},
        {"program sets the current cell again", [](EntryGrid &g) { g.grid.setCurrentCell(3, 1); }, 0, 3, 1},
        {"program sets the row only", [](EntryGrid &g) { g.grid.setRow(2); }, 1, 3, 2},
        {"click on another cell", [](EntryGrid &g) { g.click(4, 3); }, 1, 4, 3},
        {"click on the current cell", [](EntryGrid &g) { g.click(3, 1); }, 1, 3, 1},
        {"click on a fixed column", [](EntryGrid &g) { g.click(1, 4); }, 0, 3, 1},
        {"click on the heading row", [](EntryGrid &g) { g.click(5, 0); }, 0, 3, 1},
        {"down arrow", [](EntryGrid &g) { QTest::keyClick(&g.grid, Qt::Key_Down); }, 1, 3, 2},
        {"left arrow at the first free column", [](EntryGrid &g) { QTest::keyClick(&g.grid, Qt::Key_Left); }, 0, 3, 1},
        {"up arrow on the first free row", [](EntryGrid &g) { QTest::keyClick(&g.grid, Qt::Key_Up); }, 0, 3, 1},
        {"ctrl+end to the last row", [](EntryGrid &g) { QTest::keyClick(&g.grid, Qt::Key_End, Qt::ControlModifier); },
         1, 3, 126},
        {"program asks for a fixed cell", [](EntryGrid &g) { g.grid.setCurrentCell(0, 0); }, 0, 3, 1},
        {"program asks beyond the grid", [](EntryGrid &g) { g.grid.setCurrentCell(99, 999); }, 1, 7, 126},
    };
    for (const Case &c : cases) {
        EntryGrid g;
        g.grid.setFocus();
        QSignalSpy spy(&g.grid, &StringGrid::clicked);
        c.act(g);
        EXPECT_EQ(spy.count(), c.emitted) << c.what;
        EXPECT_EQ(g.grid.col(), c.col) << c.what;
        EXPECT_EQ(g.grid.row(), c.row) << c.what;
    }
}

TEST(StringGrid, HandlerThatMovesTheCellIsNotReentered) {
    // The entry forms put the column back on the teacher's subject inside
    // the handler; the grid must run the handler again afterwards, not from
    // within itself.
    EntryGrid g;
    int depth = 0, maxDepth = 0, calls = 0;
    std::vector<std::pair<int, int>> seen;
    QObject::connect(&g.grid, &StringGrid::clicked, [&] {
        ++depth;
        ++calls;
        maxDepth = std::max(maxDepth, depth);
        seen.emplace_back(g.grid.col(), g.grid.row());
        g.grid.setCol(6);
        --depth;
    });
    g.click(4, 5);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(4, 5));
    EXPECT_EQ(seen[1], std::make_pair(6, 5));
    EXPECT_EQ(g.grid.col(), 6);

    // A handler that moves down on every run walks until the grid's end and
    // stops there, still without nesting.
    EntryGrid h;
    int runs = 0;
    QObject::connect(&h.grid, &StringGrid::clicked, [&] {
        ++runs;
        h.grid.setRow(h.grid.row() + 1);
    });
    h.grid.setRow(120);
    EXPECT_EQ(h.grid.row(), 126);
    EXPECT_EQ(runs, 7);
}

TEST(StringGrid, ShrinkingMovesTheCurrentCellBackAndKeepsTexts) {
    EntryGrid g;
    g.grid.setCell(4, 100, "  85");
    g.grid.setCell(7, 2, "x");
    g.grid.setCurrentCell(7, 120);
    QSignalSpy spy(&g.grid, &StringGrid::clicked);
    g.grid.setRowCount(85);  // a grade with two classes
    EXPECT_EQ(g.grid.row(), 84);
    EXPECT_EQ(spy.count(), 1);
    g.grid.setColCount(6);
    EXPECT_EQ(g.grid.col(), 5);
    EXPECT_EQ(g.grid.cell(7, 2), "");  // that column is gone
    g.grid.setColCount(8);
    g.grid.setRowCount(127);
    EXPECT_EQ(g.grid.cell(7, 2), "");
    EXPECT_EQ(g.grid.cell(4, 100), "");
    g.grid.setCell(4, 60, "ok");
    g.grid.setColCount(14);
    EXPECT_EQ(g.grid.cell(4, 60), "ok");
    // Outside the grid: reads give "", writes are ignored.
    g.grid.setCell(-1, 3, "bad");
    g.grid.setCell(20, 3, "bad");
    EXPECT_EQ(g.grid.cell(20, 3), "");
    EXPECT_EQ(g.grid.cell(3, -1), "");
}

TEST(StringGrid, MovingOutOfSightScrollsTheCellIntoView) {
    EntryGrid g;
    EXPECT_TRUE(g.grid.cellRect(3, 100).isEmpty());
    g.grid.setRow(100);
    const QRect r = g.grid.cellRect(3, 100);
    ASSERT_FALSE(r.isEmpty());
    EXPECT_LE(r.bottom(), g.grid.viewport()->height());
    // The heading row stays where it is; rows above the view have no place.
    EXPECT_EQ(g.grid.cellRect(3, 0).top(), 0);
    EXPECT_TRUE(g.grid.cellRect(3, 1).isEmpty());
    g.grid.setRow(1);
    EXPECT_EQ(g.grid.topRow(), 1);
    EXPECT_EQ(g.grid.cellAt(g.grid.cellRect(5, 4).center()), QPoint(5, 4));
}

TEST(StringGrid, HookPaintsAfterTheGridLinesAndSeesEachCellsState) {
    EntryGrid g;
    g.grid.setCell(4, 5, "  85");
    g.grid.setCurrentCell(4, 2);
    std::vector<StringGrid::DrawCellArgs> drawn;
    g.grid.setDrawCellHook([&](QPainter &p, const StringGrid::DrawCellArgs &a) {
        drawn.push_back(a);
        // Rows 5, 10, ...: a line on the grid line below the cell, one pixel
        // past its right edge.
        if (a.row == 5 && !a.state.fixed) {
            p.setPen(Qt::black);
            p.drawLine(a.rect.left(), a.rect.bottom() + 1, a.rect.right() + 1, a.rect.bottom() + 1);
        }
    });
    QImage image(g.grid.viewport()->size(), QImage::Format_RGB32);
    g.grid.viewport()->render(&image);

    const QRect r = g.grid.cellRect(4, 5);
    // The grid line below the cell is painted over by the hook's line.
    EXPECT_EQ(QColor(image.pixel(r.center().x(), r.bottom() + 1)), QColor(Qt::black));
    // Below a row the hook leaves alone the line keeps the grid's colour.
    const QRect other = g.grid.cellRect(4, 6);
    EXPECT_NE(QColor(image.pixel(other.center().x(), other.bottom() + 1)), QColor(Qt::black));

    auto find = [&](int col, int row) -> const StringGrid::DrawCellArgs * {
        for (const auto &a : drawn)
            if (a.col == col && a.row == row) return &a;
        return nullptr;
    };
    ASSERT_NE(find(4, 5), nullptr);
    EXPECT_EQ(find(4, 5)->text, "  85");
    EXPECT_FALSE(find(4, 5)->state.selected);
    ASSERT_NE(find(4, 2), nullptr);
    EXPECT_TRUE(find(4, 2)->state.selected);
    ASSERT_NE(find(1, 2), nullptr);
    EXPECT_TRUE(find(1, 2)->state.fixed);
    ASSERT_NE(find(5, 0), nullptr);
    EXPECT_TRUE(find(5, 0)->state.fixed);
    EXPECT_EQ(find(5, 0)->rect.width(), 26);
    EXPECT_EQ(find(5, 0)->rect.height(), 16);
}

TEST(StringGrid, DoubleClickOnACellSignalsBothClickAndDoubleClick) {
    EntryGrid g;
    QSignalSpy clicks(&g.grid, &StringGrid::clicked);
    QSignalSpy doubles(&g.grid, &StringGrid::doubleClicked);
    const QPoint at = g.grid.cellRect(5, 3).center();
    QTest::mouseDClick(g.grid.viewport(), Qt::LeftButton, {}, at);
    EXPECT_GE(clicks.count(), 1);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(g.grid.col(), 5);
    EXPECT_EQ(g.grid.row(), 3);
    QTest::mouseDClick(g.grid.viewport(), Qt::LeftButton, {}, g.grid.cellRect(0, 3).center());
    EXPECT_EQ(doubles.count(), 1);  // not on a fixed cell
}

// Cells that fit the frame, counting no line after the last column or row,
// never scroll, whichever cell becomes current; one pixel less and the grid
// must scroll to show the last cell.
TEST(StringGrid, ScrollsOnlyWhenTheCellsThemselvesDoNotFit) {
    struct Case {
        const char *what;
        int cols, rows, colWidth, rowHeight, width, height;
        bool fits;
    };
    // Frames are 2 pixels on each side: 3 x 100 with two lines between is
    // 302 inside a 306 grid.
    const Case cases[] = {
        {"selection grid, 3 x 6 rows of 24", 3, 6, 100, 24, 306, 153, true},
        {"selection grid, 3 x 4 rows of 24", 3, 4, 100, 24, 306, 105, true},
        {"one pixel too narrow", 3, 6, 100, 24, 305, 153, false},
        {"one pixel too low", 3, 6, 100, 24, 306, 152, false},
    };
    for (const Case &c : cases) {
        StringGrid grid;
        grid.setColCount(c.cols);
        grid.setRowCount(c.rows);
        grid.setFixedCols(0);
        grid.setFixedRows(1);
        grid.setDefaultColWidth(c.colWidth);
        grid.setDefaultRowHeight(c.rowHeight);
        grid.setScrollBars(false, false);
        grid.resize(c.width, c.height);
        grid.show();
        grid.setCurrentCell(c.cols - 1, c.rows - 1);
        const bool scrolled = grid.leftCol() != 0 || grid.topRow() != 1;
        EXPECT_EQ(scrolled, !c.fits) << c.what;
        if (c.fits) {
            for (int row = 0; row < c.rows; ++row)
                for (int col = 0; col < c.cols; ++col) {
                    const QRect cell = grid.cellRect(col, row);
                    EXPECT_TRUE(!cell.isEmpty() && grid.viewport()->rect().contains(cell))
                        << c.what << ": cell " << col << "," << row;
                }
        }
        // Whatever the fit, the current cell is in view.
        const QRect current = grid.cellRect(grid.col(), grid.row());
        EXPECT_TRUE(!current.isEmpty() && grid.viewport()->rect().contains(current)) << c.what;
    }
}

// A text cut short in its cell shows whole as the cell's tool tip; a cell
// whose text shows whole has none.
TEST(StringGrid, CellCutShortShowsItsTextAsToolTip) {
    const QString longName = "学年末総まとめ（一年間の学習内容の総復習";
    StringGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    grid.setFixedCols(0);
    grid.setFixedRows(1);
    grid.setDefaultColWidth(100);
    QFont font = grid.font();
    font.setPixelSize(19);
    grid.setFont(font);
    grid.resize(306, 80);
    grid.show();
    grid.setCell(0, 1, longName);
    grid.setCell(1, 1, "学年末総まとめ");
    grid.setCell(2, 1, "期末");
    const auto toolTipAt = [&](int col) {
        return dorv::testing::ToolTipAt(*grid.viewport(), grid.cellRect(col, 1).center());
    };
    EXPECT_EQ(toolTipAt(0), longName);
    EXPECT_EQ(toolTipAt(1), "");  // smaller, but whole
    EXPECT_EQ(toolTipAt(2), "");
}
