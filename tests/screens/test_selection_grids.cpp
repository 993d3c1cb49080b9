// The grade-by-test grids of the selection dialogs as a teacher sees them:
// every cell in view at every preselection and after a click on any cell,
// the heading "１年" drawn where it belongs.
#include "modal.h"
#include "recording_services.h"
#include "screen_check.h"

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
#include <string>

namespace dorv {
namespace {

struct GridDialog {
    const char *id;
    const char *name;
    std::function<std::unique_ptr<SelectGridDialog>()> make;
};

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
    const QRect heading(0, 0, grid.colWidth(0), grid.rowHeight());
    EXPECT_TRUE(OnScreen(grid, heading) == ExpectedHeading(grid, "１年")) << where << ": \"１年\" is not drawn";
}

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
                teiki_.TestName[g][t] = std::to_string(g) + "年定期" + std::to_string(t);
                jitsu_.TestName[g][t] = std::to_string(g) + "年実力" + std::to_string(t);
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

INSTANTIATE_TEST_SUITE_P(Dialogs, SelectionGrids, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<GridDialog> &info) { return std::string(info.param.id); });

}  // namespace
}  // namespace dorv
