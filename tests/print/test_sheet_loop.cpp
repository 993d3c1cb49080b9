// The all-students loop and the single-sheet check of the per-student
// sheets.
#include "print/pages/sheet_loop.h"

#include "print/layer/recording_canvas.h"
#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/name_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace dorv {
namespace {

TEST(AllStudents, OnePagePerNamedStudentAndNoBlankPage) {
    auto names = std::make_unique<TNameData>();
    // Class 1: numbers 1, 2 and 42; class 2: none; class 3: number 5;
    // class 4 lies beyond the grade's three classes.
    for (int slot : {1, 2, 42, SlotOf(3, 5), SlotOf(4, 1)}) names->Names[slot] = "生徒" + std::to_string(slot);
    struct Case {
        int classCount;
        std::vector<std::pair<int, int>> sheets;
    };
    const Case cases[] = {
        {3, {{1, 1}, {1, 2}, {1, 42}, {3, 5}}},          {1, {{1, 1}, {1, 2}, {1, 42}}}, {0, {}}, {-1, {}},
        {12, {{1, 1}, {1, 2}, {1, 42}, {3, 5}, {4, 1}}},  // never past class 10
    };
    for (const auto &c : cases) {
        print::TRecordingCanvas canvas;
        std::vector<std::pair<int, int>> sheets;
        PrintAllStudents(canvas, *names, c.classCount, [&](int classNo, int number) {
            sheets.emplace_back(classNo, number);
            canvas.TextOut(0, 0, names->Names[SlotOf(classNo, number)]);
        });
        EXPECT_EQ(sheets, c.sheets) << c.classCount;
        EXPECT_EQ(canvas.PageCount(), static_cast<int>(c.sheets.size())) << c.classCount;
        for (const auto &op : canvas.Ops()) {
            const auto &s = c.sheets[static_cast<std::size_t>(op.Page - 1)];
            EXPECT_EQ(op.Text, "生徒" + std::to_string(SlotOf(s.first, s.second)));
        }
    }
}

TEST(OneSheet, ClassAndNumberChecked) {
    struct Case {
        const char *classText, *numberText;
        int classCount;
        std::optional<std::pair<int, int>> expected;
    };
    const Case cases[] = {
        {"3", "12", 3, std::pair{3, 12}}, {"1", "1", 1, std::pair{1, 1}},
        {"1", "42", 3, std::pair{1, 42}}, {" 2", "5", 3, std::pair{2, 5}},
        {"3", "43", 3, std::nullopt},     {"0", "1", 3, std::nullopt},
        {"4", "1", 3, std::nullopt},      {"257", "1", 3, std::nullopt},  // no wrap-around into class 1
        {"1", "0", 3, std::nullopt},      {"-1", "1", 3, std::nullopt},
        {"1", "1", 0, std::nullopt},    // a grade without classes
        {"11", "1", 12, std::nullopt},  // never past class 10
    };
    for (const auto &c : cases)
        EXPECT_EQ(OneSheetClassNumber(c.classText, c.numberText, c.classCount), c.expected)
            << c.classText << " " << c.numberText << " of " << c.classCount;

    for (const auto &[classText, numberText, bad] : {std::tuple{"", "1", ""}, std::tuple{"1", "x", "x"},
                                                     std::tuple{"１", "1", "１"}, std::tuple{"2組", "1", "2組"}}) {
        try {
            OneSheetClassNumber(classText, numberText, 3);
            ADD_FAILURE() << "no error for " << classText << " " << numberText;
        } catch (const ConvertError &e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' は整数ではありません");
        }
    }
}

}  // namespace
}  // namespace dorv
