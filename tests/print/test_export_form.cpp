// The C4th conversion form driven from the main menu of the display
// program on the sample school, with the program's own loads: the export
// lands in the grade's "変換" workbook exactly as an independent reading
// of the roster and rating workbooks with python3-xlrd predicts; a
// workbook that is missing gives the message and keeps the form open.
#include "export_form_fixture.h"
#include "modal.h"

#include "../workbook/biff8_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace dorv {
namespace {

namespace fs = std::filesystem;
using testing::CellKey;
using testing::ExportForm;
using testing::PressAndAct;
using testing::RunModal;
using testing::XlrdCell;

// The conversion sheets as the roster and the rating workbook predict them:
// (sheet, row, col) -> cell, headings left out.
std::map<CellKey, XlrdCell> PredictedSheets(const testing::XlrdBook &roster, const testing::XlrdBook &ratings) {
    std::map<CellKey, XlrdCell> want;
    std::vector<int> listed;
    for (int r = 1; r <= 420; ++r) {
        auto it = roster.cells.find({0, r, 1});
        if (it != roster.cells.end() && it->second.type == "s" && !it->second.value.empty()) listed.push_back(r);
    }
    auto value = [](const testing::XlrdBook &b, int s, int r, int c) -> const XlrdCell * {
        auto it = b.cells.find({s, r, c});
        return it == b.cells.end() || it->second.type == "blank" || it->second.value.empty() ? nullptr : &it->second;
    };
    for (int j = 0; j < 9; ++j) {
        const int m = j == 0 ? 5 : 4;
        int row = 0;
        for (int slot : listed) {
            ++row;
            want[{j, row, 0}] = {"n", std::to_string(((slot - 1) / 42 + 1) * 100 + (slot - 1) % 42 + 1) + ".0"};
            for (int i = 1; i <= m; ++i) {
                const XlrdCell *mark = value(ratings, 1 + j, slot, i);
                want[{j, row, i}] = {"s", mark ? mark->value : "-"};
            }
            const XlrdCell *rating = value(ratings, 0, slot, 1 + j);
            want[{j, row, m + 1}] = rating ? *rating : XlrdCell{"s", "-"};
        }
    }
    return want;
}

std::map<CellKey, XlrdCell> StudentCells(const testing::XlrdBook &b) {
    std::map<CellKey, XlrdCell> out;
    for (const auto &[k, v] : b.cells)
        if (std::get<1>(k) > 0 && v.type != "blank") out[k] = v;
    return out;
}

TEST_F(ExportForm, MainMenuExportsTheSampleSchool) {
    struct Case {
        const char *what;
        bool youroku;
        int grade, term;
        const char *file;  // in the grade folder
        const char *ratings;
    };
    // Grade 1 has a student who left class 2; term 2 has only 国語 and
    // 数学, the register nothing yet.
    const Case cases[] = {
        {"term 1 of grade 1", false, 1, 1, "変換/１学期評定.xls", "１学期評定.xls"},
        {"term 2 of grade 1", false, 1, 2, "変換/２学期評定.xls", "２学期評定.xls"},
        {"register of grade 3", true, 3, 0, "変換/指導要録評定.xls", "指導要録評定.xls"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path out = GradeFile(c.grade, c.file);
        const testing::XlrdBook before = testing::ReadWithXlrd(out);
        ASSERT_TRUE(before.ok) << before.error;
        RunModal(menu, [&] {
            if (c.youroku) SelectRegister(c.grade);
            else SelectTerm(c.grade, c.term);
            ASSERT_TRUE(menu.btnHenkan->isEnabled());
            EXPECT_TRUE(PressAndAct(menu.btnHenkan, henkan, [&] {
                EXPECT_EQ(henkan.windowTitle(), QString("C4th変換"));
                henkan.btnHenkan->click();
            }));
            EXPECT_FALSE(henkan.isVisible());
            EXPECT_FALSE(wait.isVisible());
            EXPECT_TRUE(services.errors.isEmpty()) << services.errors.join("|").toStdString();
        });

        const testing::XlrdBook after = testing::ReadWithXlrd(out);
        const testing::XlrdBook roster = testing::ReadWithXlrd(GradeFile(c.grade, "名簿.xls"));
        const testing::XlrdBook ratings = testing::ReadWithXlrd(GradeFile(c.grade, c.ratings));
        ASSERT_TRUE(after.ok && roster.ok && ratings.ok) << after.error << roster.error << ratings.error;
        EXPECT_EQ(after.sheets, before.sheets);
        const auto want = PredictedSheets(roster, ratings);
        const auto got = StudentCells(after);
        EXPECT_TRUE(got == want) << testing::MapDiff(got, want);
        for (const auto &[k, v] : before.cells)
            if (std::get<1>(k) == 0) {
                EXPECT_EQ(after.cells.at(k), v) << "heading changed";
            }
        if (c.grade == 1) {
            // The student after the one who left is there, right after 214.
            auto code = [&](int row) { return got.count({0, row, 0}) ? got.at({0, row, 0}).value : std::string(); };
            int row214 = 0;
            for (int r = 1; r <= 420; ++r)
                if (code(r) == "214.0") row214 = r;
            ASSERT_GT(row214, 0);
            EXPECT_EQ(code(row214 + 1), "216.0");
        }
    }
}

TEST_F(ExportForm, MissingWorkbookKeepsTheFormOpenAndCloseExportsNothing) {
    const fs::path missing = GradeFile(2, "変換/３学期評定.xls");
    fs::remove(missing);
    const fs::path other = GradeFile(2, "変換/指導要録評定.xls");
    const std::string otherBefore = testing::ReadBytes(other);
    RunModal(menu, [&] {
        SelectTerm(2, 3);
        EXPECT_TRUE(PressAndAct(menu.btnHenkan, henkan, [&] {
            henkan.btnHenkan->click();
            EXPECT_EQ(services.errors, QStringList{QString::fromStdString("C4th変換を行えません。ファイル " +
                                                                          missing.string() + " が見つかりません.")});
            EXPECT_TRUE(henkan.isVisible());
            EXPECT_FALSE(wait.isVisible());
            henkan.btnClose->click();
        }));
        EXPECT_FALSE(henkan.isVisible());

        // 閉じる writes nothing.
        SelectRegister(2);
        EXPECT_TRUE(PressAndAct(menu.btnHenkan, henkan, [&] { henkan.btnClose->click(); }));
    });
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(testing::ReadBytes(other) == otherBefore);
    EXPECT_EQ(services.errors.size(), 1);
}

// A roster that cannot be read: the form does not open on stale data.
TEST_F(ExportForm, FailedLoadDoesNotOpenTheForm) {
    const fs::path out = GradeFile(1, "変換/１学期評定.xls");
    const std::string before = testing::ReadBytes(out);
    fs::remove(GradeFile(1, "名簿.xls"));
    RunModal(menu, [&] {
        SelectTerm(1, 1);
        menu.btnHenkan->click();
        EXPECT_FALSE(henkan.isVisible());
    });
    ASSERT_EQ(services.errors.size(), 1);
    EXPECT_TRUE(services.errors[0].contains("名簿.xls")) << services.errors[0].toStdString();
    EXPECT_TRUE(testing::ReadBytes(out) == before);
}

}  // namespace
}  // namespace dorv
