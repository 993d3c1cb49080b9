// The grade-by-test grids of the selection dialogs as a teacher sees them:
// every cell in view at every preselection and after a click on any cell,
// its text drawn whole (a long test name smaller, the longest cut short and
// whole as the cell's tool tip), the heading "１年" drawn where it belongs.
#include "drawn_texts.h"
#include "modal.h"
#include "recording_services.h"
#include "screen_check.h"
#include "tool_tip.h"

#include "desktop/string_grid.h"
#include "dialogs/DorvSelectHyotei.h"
#include "dialogs/DorvSelectJitsu.h"
#include "dialogs/DorvSelectTeiki.h"
#include "input/DorvSelectNaishin.h"
#include "schooldata/globals.h"
#include "schooldata/teachers.h"
#include "schooldata/test_names.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace dorv {
namespace {

struct GridDialog {
    const char *id;
    const char *name;
    std::function<std::unique_ptr<SelectGridDialog>()> make;
};

void PrintTo(const GridDialog &d, std::ostream *os) { *os << d.id; }

const GridDialog kDialogs[] = {
    {"Teiki", "定期テストの選択", [] { return std::make_unique<TfrmSelectTeiki>(); }},
    {"Jitsu", "実力テストの選択", [] { return std::make_unique<TfrmSelectJitsu>(); }},
    {"Hyotei", "評定の選択", [] { return std::make_unique<TfrmSelectHyotei>(); }},
    {"Naishin", "内申の選択", [] { return std::make_unique<TfrmSelectNaishin>(); }},
};

// The heading cell (0, 0) as the grid draws it, for comparison with what
// is on screen.
QImage ExpectedHeading(const StringGrid &grid, const QString &text) {
    QImage image(grid.colWidth(0), grid.rowHeight(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(grid.font());
    const QRect rect = image.rect();
    StringGrid::CellState fixed;
    fixed.fixed = true;
    painter.fillRect(rect, grid.defaultBackground(fixed));
    painter.setPen(grid.defaultTextColor(fixed));
    StringGrid::drawCellText(painter, rect, text);
    return image;
}

QImage OnScreen(StringGrid &grid, const QRect &rect) {
    return grid.viewport()->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
}

// What the grid shows: its first column and first row, every cell whole,
// and the heading "１年" at the top left.
void ExpectAllShown(StringGrid &grid, const std::string &where) {
    EXPECT_EQ(grid.leftCol(), 0) << where;
    EXPECT_EQ(grid.topRow(), 1) << where;
    testing::ExpectGridWhole(grid, QString::fromStdString(where));
    testing::ExpectGridTextsWhole(grid, QString::fromStdString(where));
    const QRect heading(0, 0, grid.colWidth(0), grid.rowHeight());
    EXPECT_TRUE(OnScreen(grid, heading) == ExpectedHeading(grid, "１年")) << where << ": \"１年\" is not drawn";
}

// Test names as a school keeps them, by test: short ones, the sample
// school's own year-end test, and names up to the 40 bytes a name may have;
// whether the regular one reads whole in its cell.
struct TestNames {
    const char *teiki;
    const char *jitsu;
    bool teikiWhole;
};
const TestNames kNames[6] = {
    {"", "", true},
    {"１学期中間", "第１回実力", true},
    {"１学期期末考査", "第２回校内実力テ", true},
    {"２学期期末考査（全範囲）", "第３回校内実力（５教科）", false},
    {"学年末総まとめ", "第４回実力", true},
    {"学年末総まとめ（一年間の学習内容の総復習", "第５回実力（入試形式・５教科総合問題）", false},
};

// The teacher has his homeroom class in grade 3; test and term names fill
// every cell.
class SelectionGrids : public ::testing::TestWithParam<GridDialog> {
protected:
    void SetUp() override {
        teachers_.Teacher[1].StaffNo = "52209";
        teachers_.Teacher[1].TeacherName = "伊藤　大介";
        teachers_.Teacher[1].Kyoka = 4;
        teachers_.Teacher[1].TeacherClass[0].Grade = 3;
        CurTeachers = &teachers_;
        TeacherIndex = 1;
        for (int g = 1; g <= 3; ++g)
            for (int t = 1; t <= 5; ++t) {
                teiki_.TestName[g][t] = kNames[t].teiki;
                jitsu_.TestName[g][t] = kNames[t].jitsu;
            }
        CurTeikiTestName = &teiki_;
        CurJitsuTestName = &jitsu_;
    }
    void TearDown() override {
        CurTeachers = nullptr;
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
        TeacherIndex = 0;
    }

    testing::RecordingServices services_;
    TTeachers teachers_;
    TTeikiTestName teiki_;
    TJitsuTestName jitsu_;
};

TEST_P(SelectionGrids, ShowEveryCellAtEveryPreselectionAndAfterEveryClick) {
    const GridDialog &d = GetParam();
    const auto dialog = d.make();
    StringGrid &grid = *dialog->grid;
    for (int month = 1; month <= 12; ++month) {
        services_.date = QDate(2026, month, 10);
        testing::RunModal(*dialog, [&] {
            const std::string opened = std::string(d.name) + ", month " + std::to_string(month);
            EXPECT_EQ(grid.col(), 2) << opened;  // the homeroom grade
            ExpectAllShown(grid, opened);
            for (int row = 1; row < grid.rowCount(); ++row)
                for (int col = 0; col < grid.colCount(); ++col) {
                    const std::string where =
                        opened + ", click on (" + std::to_string(col) + ", " + std::to_string(row) + ")";
                    const QRect cell = grid.cellRect(col, row);
                    ASSERT_FALSE(cell.isEmpty()) << where << ": the cell is out of sight";
                    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
                    EXPECT_EQ(grid.col(), col) << where;
                    EXPECT_EQ(grid.row(), row) << where;
                    ExpectAllShown(grid, where);
                }
            dialog->btnOK->click();
        });
    }
}

// What a cell of the grid draws, left to right.
QString Drawn(StringGrid &grid, int col, int row) {
    const QRect cell = grid.cellRect(col, row);
    QString text;
    for (const testing::DrawnText &t : testing::DrawnTexts(*grid.viewport()))
        if (cell.contains(t.box.center().toPoint())) text += t.text;
    return text;
}

// The regular tests' names in the grid's 100-px cells at 19 px: a name that
// fits smaller reads whole and needs no tool tip; one too long even at the
// smallest size is cut short and shows whole as its cell's tool tip.
TEST_F(SelectionGrids, NamesReadWholeSmallerOrCutShortWithTheirToolTip) {
    TfrmSelectTeiki dialog;
    StringGrid &grid = *dialog.grid;
    testing::RunModal(dialog, [&] {
        for (int t = 1; t <= 5; ++t) {
            const QString name = QString::fromUtf8(kNames[t].teiki);
            const QString toolTip = testing::ToolTipAt(*grid.viewport(), grid.cellRect(0, t).center());
            if (kNames[t].teikiWhole) {
                EXPECT_EQ(Drawn(grid, 0, t), name);
                EXPECT_EQ(toolTip, "") << name.toStdString();
            } else {
                EXPECT_TRUE(Drawn(grid, 0, t).endsWith(QChar(0x2026))) << Drawn(grid, 0, t).toStdString();
                EXPECT_EQ(toolTip, name);
            }
        }
        dialog.btnOK->click();
    });
}

INSTANTIATE_TEST_SUITE_P(Dialogs, SelectionGrids, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<GridDialog> &info) { return std::string(info.param.id); });

}  // namespace
}  // namespace dorv
