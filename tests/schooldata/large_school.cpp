#include "large_school.h"

#include "school_fixture.h"

#include "schooldata/access.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/settings.h"
#include "schooldata/test_names.h"

#include <string>
#include <vector>

namespace dorv::testing {

namespace fs = std::filesystem;

namespace {

constexpr int kClasses = 10;
constexpr int kScience = 3;

// WorkDrive pointed at `drive` while the master workbooks are read.
class DriveScope {
public:
    explicit DriveScope(const fs::path &drive) : saved_(WorkDrive) { WorkDrive = drive.string(); }
    ~DriveScope() { WorkDrive = saved_; }
    DriveScope(const DriveScope &) = delete;
    DriveScope &operator=(const DriveScope &) = delete;

private:
    std::string saved_;
};

fs::path GradeFolder(const fs::path &drive, int grade) {
    return drive / std::string(RootFolder) / std::string(DataFolder) / std::string(GakunenFolders[grade]);
}
fs::path KihonFolderOf(const fs::path &drive) {
    return drive / std::string(RootFolder) / std::string(DataFolder) / std::string(KihonFolder);
}

std::string Cell(int col, int row) { return std::string(1, static_cast<char>('A' + col)) + std::to_string(row + 1); }

// A spread of scores around the middle: most in 40..79, with the grade's
// highest bands well above 90 students.
int Score(int slot, int subject) {
    const int a = (slot * 7919 + subject * 31) % 41;
    const int b = (slot * 104729 + subject * 17) % 41;
    return 15 + a + b;
}

SheetSpec NumberedSheet() {
    SheetSpec s{"Data"};
    s.texts.push_back({"A1", "番号"});
    for (int c = 1; c <= kClasses; ++c)
        for (int n = 1; n <= kStudentsPerClass; ++n)
            s.cells.push_back({Cell(0, SlotOf(c, n)), std::to_string(c * 100 + n)});
    return s;
}

void WriteRoster(const fs::path &file) {
    static const char *const kFamily[] = {"佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "山本", "長谷川"};
    static const char *const kGiven[] = {"翔太", "美咲", "大輝", "陽菜", "拓海", "結衣", "菜々子"};
    SheetSpec s = NumberedSheet();
    s.texts.push_back({"B1", "氏名"});
    s.texts.push_back({"C1", "性別"});
    for (int slot = 1; slot <= kClasses * kStudentsPerClass; ++slot) {
        s.texts.push_back({Cell(1, slot), std::string(kFamily[slot % 8]) + "　" + kGiven[slot % 7]});
        s.texts.push_back({Cell(2, slot), slot % 7 % 2 ? "女" : "男"});
    }
    WriteXls(file, {s});
}

// Eleven columns for a regular test (技家 the sum of 技術 and 家庭), five
// for a proficiency test; subject `missing` left empty.
void WriteScores(const fs::path &file, bool regular, int missing = -1) {
    SheetSpec s = NumberedSheet();
    const int columns = regular ? 11 : 5;
    for (int j = 0; j < columns; ++j) s.texts.push_back({Cell(1 + j, 0), std::string(KyokaNames[j])});
    for (int slot = 1; slot <= kClasses * kStudentsPerClass; ++slot) {
        for (int j = 0; j < (regular ? 8 : 5); ++j)
            if (j != missing) s.cells.push_back({Cell(1 + j, slot), std::to_string(Score(slot, j))});
        if (regular) {
            const int gijutsu = Score(slot, 9) / 2, katei = Score(slot, 10) / 2;
            s.cells.push_back({Cell(9, slot), std::to_string(gijutsu + katei)});
            s.cells.push_back({Cell(10, slot), std::to_string(gijutsu)});
            s.cells.push_back({Cell(11, slot), std::to_string(katei)});
        }
    }
    WriteXls(file, {s});
}

void WriteNames(const fs::path &file, const std::vector<std::string> &names) {
    std::vector<SheetSpec> sheets;
    for (int g = 1; g <= 3; ++g) {
        SheetSpec s{std::string(NenSheetNames[g - 1])};
        for (int t = 0; t < 5; ++t) s.texts.push_back({Cell(0, t), names[t]});
        sheets.push_back(std::move(s));
    }
    WriteXls(file, sheets);
}

template <class Names>
void RenameTests(const fs::path &drive, const std::vector<std::string> &names) {
    const DriveScope scope(drive);
    Names before, after;
    before.LoadTestNames();
    WriteNames(before.WorkbookPath(), names);
    after.LoadTestNames();  // as the programs cut them
    for (int g = 1; g <= 3; ++g)
        for (int t = 1; t <= 5; ++t) {
            const fs::path from = GradeFolder(drive, g) / (before.TestName[g][t] + ".xls");
            if (fs::exists(from)) fs::rename(from, GradeFolder(drive, g) / (after.TestName[g][t] + ".xls"));
        }
}

}  // namespace

void FillGradeToTenFullClasses(const fs::path &drive, int grade) {
    const DriveScope scope(drive);
    TTeikiTestName teiki;
    TJitsuTestName jitsu;
    TKurasuSuData classes;
    teiki.LoadTestNames();
    jitsu.LoadTestNames();
    classes.LoadKurasuSu();
    int counts[4] = {0, classes.GradeClasses[1], classes.GradeClasses[2], classes.GradeClasses[3]};
    counts[grade] = kClasses;
    WriteClassCountsXls(KihonFolderOf(drive) / "KurasuSu.xls", counts[1], counts[2], counts[3]);

    const fs::path folder = GradeFolder(drive, grade);
    WriteRoster(folder / "名簿.xls");
    for (int t = 1; t <= 5; ++t) {
        WriteScores(folder / (teiki.TestName[grade][t] + ".xls"), true, t == 5 ? kScience : -1);
        WriteScores(folder / (jitsu.TestName[grade][t] + ".xls"), false);
    }
}

void GiveTestsLongNames(const fs::path &drive) {
    // Titles and prints add "テスト" to a name, so these stop short of it.
    RenameTests<TTeikiTestName>(drive,
                                {"１学期中間考査（国数英）", "１学期期末考査・実技教科含む", "２学期中間",
                                 "２学期期末考査（全範囲・提出物込み）", "学年末総まとめ（一年間の学習内容の総復習）"});
    RenameTests<TJitsuTestName>(drive, {"第１回校内実力（５教科）", "第２回実力", "第３回校内実力・総合問題",
                                        "第４回実力（入試形式・５教科総合）", "第５回実力"});
}

}  // namespace dorv::testing
