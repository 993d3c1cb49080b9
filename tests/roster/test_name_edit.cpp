#include "desktop/radio_group.h"
#include "desktop/string_grid.h"
#include "qt_roster_env.h"
#include "roster/DorvNameEdit.h"
#include "roster/file_helpers.h"
#include "roster/roster_save.h"
#include "roster_fixture.h"
#include "schooldata/access.h"
#include "schooldata/excel_service.h"
#include "schooldata/name_data.h"
#include "schooldata/workbook_lock.h"
#include "tests/desktop/recording_services.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using rostertest::DataFolder;
using rostertest::FileBytes;

namespace {

std::string s(const QString &q) { return q.toStdString(); }

class NameEdit : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<dorv::TfrmNameEdit>();
        dorv::SetRetryTiming({std::chrono::milliseconds(10), std::chrono::milliseconds(200)});
        folder.writeRoster(3, {{1, "山田　太郎", "男"},
                               {2, "佐藤 花子", "女"},
                               {3, "鈴木一郎", ""},
                               {4, "田中 次郎", "男"},
                               {7, "高橋 三奈子", "女"},
                               {8, "伊藤", "男"},
                               {9, "渡辺健太郎健", "男"},
                               // Longer than 14 bytes: they load cut short.
                               {30, "勅使河原 健太郎", "男"},
                               {31, "A長谷川　アンジェリーナ", "女"},
                               {32, "五十嵐 まりあんぬ", "女"},
                               {126, "小林 四郎", "男"}});
        form->setGrade(3);
    }
    void TearDown() override { dorv::SetRetryTiming({}); }

    int open(const std::function<void()> &steps) { return rostertest::OpenAndRun(*form, steps); }

    void type(const char *text, int sexItem) {
        form->edtOne->setText(QString::fromUtf8(text));
        if (sexItem >= 0) form->rgpDanjo->button(sexItem)->click();
        else form->rgpDanjo->setItemIndex(-1);
    }
    std::string cell(int col, int row) { return s(form->sgdName->cell(col, row)); }

    dorv::testing::RecordingServices boxes;
    DataFolder folder{{4, 6, 3}};
    std::unique_ptr<dorv::TfrmNameEdit> form;
};

TEST_F(NameEdit, ListsEverySlotOfTheGradeAndOpensOnRowOne) {
    open([&] {
        EXPECT_EQ(form->sgdName->rowCount(), 127);
        EXPECT_EQ(cell(0, 0) + cell(1, 0) + cell(2, 0), "番号名前性別");
        const struct {
            int row;
            const char *number, *name, *sex;
        } rows[] = {{1, "101", "山田　太郎", "男子"},
                    {2, "102", "佐藤 花子", "女子"},
                    {3, "103", "鈴木一郎", ""},
                    {5, "105", "", ""},
                    {42, "142", "", ""},
                    {43, "201", "", ""},
                    {84, "242", "", ""},
                    {85, "301", "", ""},
                    {126, "342", "小林 四郎", "男子"}};
        for (const auto &r : rows) {
            EXPECT_EQ(cell(0, r.row), r.number);
            EXPECT_EQ(cell(1, r.row), r.name) << r.row;
            EXPECT_EQ(cell(2, r.row), r.sex) << r.row;
        }
        EXPECT_EQ(form->sgdName->row(), 1);
        EXPECT_EQ(s(form->lblNumber->text()), "101");
        EXPECT_EQ(s(form->edtOne->text()), "山田　太郎");
        EXPECT_EQ(form->rgpDanjo->itemIndex(), 0);
    });
    EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(NameEdit, ThePanelFollowsTheCurrentRowAndAnUnsetSexChoosesNothing) {
    open([&] {
        const struct {
            int row;
            const char *name;
            int item;
        } rows[] = {{2, "佐藤 花子", 1}, {3, "鈴木一郎", -1}, {5, "", -1}, {1, "山田　太郎", 0}};
        for (const auto &r : rows) {
            form->sgdName->setRow(r.row);
            EXPECT_EQ(s(form->lblNumber->text()), cell(0, r.row));
            EXPECT_EQ(s(form->edtOne->text()), r.name);
            EXPECT_EQ(form->rgpDanjo->itemIndex(), r.item) << r.row;
        }
    });
}

TEST_F(NameEdit, ChangeStoresTheConvertedOrCutNameAndMovesDown) {
    const struct {
        const char *typed;
        const char *stored;
    } cases[] = {
        {"林 花子", "林　　　花　子"},  // 7 bytes: converted
        {"山田 太郎", "山　田　太　郎"},
        {"林 一", "林 一"},                      // 5 bytes: as typed
        {"甲乙丙丁戊己庚", "甲乙丙丁戊己庚"},    // 14 bytes: as typed
        {"甲乙丙丁戊己庚辛", "甲乙丙丁戊己庚"},  // cut to 14 bytes
        {"ABCDEFGHIJKLM漢", "ABCDEFGHIJKLM"},    // never half a character
        {"1234", "1234"},
        {"2026-01-01", "2026-01-01"},
    };
    open([&] {
        int row = 10;
        for (const auto &c : cases) {
            form->sgdName->setRow(row);
            type(c.typed, 1);
            form->btnChange->click();
            EXPECT_EQ(cell(1, row), c.stored) << c.typed;
            EXPECT_EQ(cell(2, row), "女子");
            EXPECT_EQ(form->nameData()->Names[row], c.stored);
            EXPECT_EQ(form->nameData()->Sex[row], 1);
            EXPECT_EQ(form->nameData()->Modified[row], 1);
            EXPECT_EQ(form->sgdName->row(), row + 1);
            EXPECT_EQ(s(form->lblNumber->text()), cell(0, row + 1));
            ++row;
        }
        // Rows not changed stay unflagged.
        EXPECT_EQ(form->nameData()->Modified[1], 0);
    });
}

TEST_F(NameEdit, ChangeWithoutASexRecordsNone) {
    open([&] {
        form->sgdName->setRow(20);
        type("中村 由美", -1);
        form->btnChange->click();
        EXPECT_EQ(cell(2, 20), "");
        EXPECT_EQ(form->nameData()->Sex[20], 255);
        form->sgdName->setRow(20);
        EXPECT_EQ(form->rgpDanjo->itemIndex(), -1);
        form->btnChange->click();
        EXPECT_EQ(form->nameData()->Sex[20], 255);
        EXPECT_EQ(cell(2, 20), "");
        // A loaded row without a sex: a change without choosing keeps none.
        form->sgdName->setRow(3);
        form->btnChange->click();
        EXPECT_EQ(form->nameData()->Sex[3], 255);
    });
}

TEST_F(NameEdit, TheLastRowStaysCurrent) {
    open([&] {
        form->sgdName->setRow(126);
        type("小林 四郎", 0);
        form->btnChange->click();
        EXPECT_EQ(form->sgdName->row(), 126);
        EXPECT_EQ(cell(1, 126), "小　林　四　郎");
        form->BitBtn1->click();
        EXPECT_EQ(form->sgdName->row(), 126);
        EXPECT_EQ(cell(1, 126), "");
        EXPECT_EQ(form->nameData()->Sex[126], 255);
    });
    EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(NameEdit, DeleteEmptiesTheRowAndMovesDown) {
    open([&] {
        form->BitBtn1->click();
        EXPECT_EQ(cell(1, 1), "");
        EXPECT_EQ(cell(2, 1), "");
        EXPECT_EQ(form->nameData()->Names[1], "");
        EXPECT_EQ(form->nameData()->Sex[1], 255);
        EXPECT_EQ(form->nameData()->Modified[1], 1);
        EXPECT_EQ(form->sgdName->row(), 2);
        EXPECT_EQ(s(form->edtOne->text()), "佐藤 花子");
    });
}

TEST_F(NameEdit, ConvertAllTouchesOnlyNamesOfSixToThirteenBytes) {
    open([&] {
        form->sgdName->setRow(2);
        form->btnXferAll->click();
        const struct {
            int row;
            const char *name;
            bool flagged;
        } rows[] = {
            {1, "山　田　太　郎", true},  // 10 bytes with a full-width space
            {2, "佐　藤　花　子", true},
            {3, "鈴木一郎　　　", true},  // 8 bytes, no space
            {4, "田　中　次　郎", true},
            {7, "高　橋　三奈子", true},  // 11 bytes
            {8, "伊藤", false},           // 4 bytes
            {9, "渡辺健太郎健　", true},  // 12 bytes, no space: padded
            {5, "", false},
        };
        for (const auto &r : rows) {
            EXPECT_EQ(form->nameData()->Modified[r.row], r.flagged ? 1 : 0) << r.row;
            if (r.flagged) {
                EXPECT_EQ(form->nameData()->Names[r.row], cell(1, r.row));
            }
        }
        EXPECT_EQ(cell(1, 1), "山　田　太　郎");
        EXPECT_EQ(cell(1, 8), "伊藤");
        EXPECT_EQ(form->nameData()->Sex[2], 1);
        EXPECT_EQ(form->nameData()->Sex[3], 3);
        // Neither the current row nor the panel move.
        EXPECT_EQ(form->sgdName->row(), 2);
        EXPECT_EQ(s(form->edtOne->text()), "佐藤 花子");
    });
}

// The grade's roster as the other programs load it.
dorv::TNameData reload(int grade, std::uint8_t classes) {
    dorv::TNameData data;
    data.Grade = static_cast<std::uint8_t>(grade);
    data.LoadMeibo(classes);
    return data;
}

TEST_F(NameEdit, SaveWritesTheChangedRowsAsTextsAndTheOtherProgramsReadThem) {
    const int result = open([&] {
        type("林 花子", 1);  // row 1
        form->btnChange->click();
        type("1234", 0);  // row 2: digits stay a name
        form->btnChange->click();
        form->BitBtn1->click();  // row 3 emptied
        form->sgdName->setRow(50);
        type("2026-01-01", 0);
        form->btnChange->click();
        form->sgdName->setRow(126);
        type("小林 四郎", 1);
        form->btnChange->click();
        form->btnClose->click();
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(boxes.errors.empty());
    EXPECT_EQ(form->nameData(), nullptr);

    const dorv::TNameData data = reload(3, 3);
    EXPECT_EQ(dorv::LastLoadPath(), dorv::LoadPath::Reader);
    const struct {
        int slot;
        const char *name;
        int sex;
    } stored[] = {{1, "林　　　花　子", 1},   {2, "1234", 0}, {3, "", 3}, {4, "田中 次郎", 0}, {50, "2026-01-01", 0},
                  {126, "小　林　四　郎", 1}, {5, "", 3}};
    for (const auto &x : stored) {
        EXPECT_EQ(data.Names[x.slot], x.name) << x.slot;
        EXPECT_EQ(data.Sex[x.slot], x.sex) << x.slot;
    }

    const auto lines = rostertest::XlrdCells(folder.roster(3), "Data");
    const auto has = [&](const std::string &line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("1\t1\ttext\t林　　　花　子"));
    EXPECT_TRUE(has("1\t2\ttext\t女"));
    EXPECT_TRUE(has("2\t1\ttext\t1234"));
    EXPECT_TRUE(has("2\t2\ttext\t男"));
    EXPECT_TRUE(has("50\t1\ttext\t2026-01-01"));
    EXPECT_TRUE(has("126\t2\ttext\t女"));
    EXPECT_TRUE(has("1\t0\tnumber\t101"));
    EXPECT_TRUE(has("1\t4\ttext\t名前は全角で"));
    for (const std::string &line : lines) {
        EXPECT_FALSE(line.starts_with("3\t1\t")) << line;
        EXPECT_FALSE(line.starts_with("3\t2\t")) << line;
    }
    EXPECT_EQ(rostertest::XlrdCells(folder.roster(3), "説明").size(), 1u);
}

TEST_F(NameEdit, NamesCutShortOnLoadAreWrittenOnlyWhenTheirRowIsEdited) {
    open([&] {
        // What fits in 14 bytes without splitting a character: 6 to 13-byte
        // texts, which the conversion would otherwise take for short names.
        EXPECT_EQ(cell(1, 30), "勅使河原 健太");
        EXPECT_EQ(cell(1, 31), "A長谷川　アン");
        EXPECT_EQ(cell(1, 32), "五十嵐 まりあ");
        form->sgdName->setRow(32);
        form->rgpDanjo->button(1)->click();
        form->btnChange->click();  // the text as the panel shows it
        form->btnXferAll->click();
        EXPECT_EQ(cell(1, 1), "山　田　太　郎");
        for (int row : {30, 31}) {
            EXPECT_EQ(form->nameData()->Modified[row], 0) << row;
        }
        EXPECT_EQ(cell(1, 30), "勅使河原 健太");
        EXPECT_EQ(form->nameData()->Modified[32], 1);
        form->btnClose->click();
    });
    EXPECT_TRUE(boxes.errors.empty());
    const rostertest::Cells cells = rostertest::ReadCells(folder.roster(3));
    EXPECT_EQ(cells.at({1, 1, 1}), "山　田　太　郎");
    EXPECT_EQ(cells.at({1, 30, 1}), "勅使河原 健太郎");
    EXPECT_EQ(cells.at({1, 31, 1}), "A長谷川　アンジェリーナ");
    EXPECT_EQ(cells.at({1, 32, 1}), "五十嵐　まりあ");

    // The save on its own keeps a cut name too, whatever else of the row it
    // writes.
    dorv::TNameData data = reload(3, 3);
    ASSERT_EQ(data.Cut[30], 1);
    data.Sex[30] = dorv::TNameData::kSexGirl;
    data.Modified[30] = 1;
    dorv::SaveMeibo(data, 3);
    const rostertest::Cells saved = rostertest::ReadCells(folder.roster(3));
    EXPECT_EQ(saved.at({1, 30, 1}), "勅使河原 健太郎");
    EXPECT_EQ(saved.at({1, 30, 2}), "女");
}

TEST_F(NameEdit, LeavingWithoutSavingChangesNothing) {
    const std::string before = FileBytes(folder.roster(3));
    const int result = open([&] {
        type("林 花子", 1);
        form->btnChange->click();
        form->btnExit->click();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(FileBytes(folder.roster(3)), before);
}

TEST_F(NameEdit, ASaveOverAHeldOrReadOnlyRosterFailsAndKeepsTheEdits) {
    enum class Hold { DesktopLockFile, ServiceLock, ReadOnly };
    for (Hold hold : {Hold::DesktopLockFile, Hold::ServiceLock, Hold::ReadOnly}) {
        SCOPED_TRACE(static_cast<int>(hold));
        boxes.errors.clear();
        const std::string roster = folder.roster(3);
        const std::string before = FileBytes(roster);
        dorv::TExcelApplication app;
        dorv::TExcelWorkbook held;
        open([&] {
            switch (hold) {
            case Hold::DesktopLockFile:
                rostertest::WriteBytes(dorv::DesktopLockFileNames(roster)[0],
                                       ",someone,host,10.12.2026 09:00,file:///");
                break;
            case Hold::ServiceLock: held.Open(app, roster); break;
            case Hold::ReadOnly: fs::permissions(roster, fs::perms::owner_read | fs::perms::group_read); break;
            }
            type("林 花子", 1);
            form->btnChange->click();
            form->btnClose->click();
            ASSERT_EQ(boxes.errors.size(), 1);
            EXPECT_TRUE(boxes.errors[0].startsWith(QString::fromStdString("ファイル " + roster))) << s(boxes.errors[0]);
            EXPECT_EQ(boxes.errors[0].contains(QString::fromStdString(dorv::DesktopLockFileNames(roster)[0])),
                      hold == Hold::DesktopLockFile)
                << s(boxes.errors[0]);
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(cell(1, 1), "林　　　花　子");
            EXPECT_EQ(FileBytes(roster), before);

            // Once the roster is free the same button saves the kept edits.
            fs::remove(dorv::DesktopLockFileNames(roster)[0]);
            if (held.IsOpen()) held.Close(false);
            fs::permissions(roster, fs::perms::owner_read | fs::perms::owner_write);
            form->btnClose->click();
            EXPECT_FALSE(form->isVisible());
        });
        EXPECT_EQ(boxes.errors.size(), 1);
        EXPECT_EQ(reload(3, 3).Names[1], "林　　　花　子");
        folder.writeRoster(3, {{1, "山田　太郎", "男"}});
    }
}

TEST_F(NameEdit, EveryOpeningStartsOnRowOneWithFreshData) {
    open([&] {
        form->sgdName->setRow(57);
        type("林 花子", 1);
        form->btnChange->click();
        form->btnExit->click();
    });
    open([&] {
        EXPECT_EQ(form->sgdName->row(), 1);
        EXPECT_EQ(form->nameData()->Modified[57], 0);
        EXPECT_EQ(cell(1, 57), "");
        type("佐藤 一", 0);
        form->btnChange->click();
        form->btnClose->click();
    });
    const auto data = reload(3, 3);
    EXPECT_EQ(data.Names[1], "佐　藤　　　一");
    EXPECT_EQ(data.Names[57], "");
}

TEST_F(NameEdit, AGradeWithoutClassesOffersNoRowToChange) {
    DataFolder empty({0, 0, 0});
    empty.writeRoster(1, {{1, "山田　太郎", "男"}});
    const std::string before = FileBytes(empty.roster(1));
    form->setGrade(1);
    open([&] {
        EXPECT_EQ(form->classCount(), 0);
        EXPECT_EQ(form->sgdName->rowCount(), 2);
        EXPECT_EQ(cell(0, 1), "");
        EXPECT_FALSE(form->btnChange->isEnabled());
        EXPECT_FALSE(form->BitBtn1->isEnabled());
        EXPECT_FALSE(form->btnXferAll->isEnabled());
        form->btnClose->click();
    });
    EXPECT_TRUE(boxes.errors.empty());
    EXPECT_EQ(FileBytes(empty.roster(1)), before);
}

TEST_F(NameEdit, ARosterThatCannotBeLoadedClosesTheEditor) {
    fs::remove(folder.roster(3));
    fs::create_directory(folder.roster(3));
    bool opened = false;
    const int result = rostertest::OpenAndRun(*form, [&] { opened = true; });
    EXPECT_FALSE(opened);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(boxes.errors.size(), 1);
    EXPECT_EQ(form->nameData(), nullptr);
    EXPECT_TRUE(fs::is_empty(folder.roster(3)));
}

}  // namespace
