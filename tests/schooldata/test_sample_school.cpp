// The sample school: every workbook dorv-sample-school writes loads through
// the reader alone, with plausible and consistent content, and two runs give
// the same files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "records_cells.h"
#include "school_fixture.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/naishin_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/teachers.h"
#include "schooldata/test_names.h"
#include "workbook/cp932.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;
using testing::ReaderCells;
using testing::SchoolFolder;
using testing::Stamp;

// The tool beside the tests in bin/, else where the build put it.
std::string SampleSchoolTool() {
    if (const char *bin = std::getenv("DORV_BIN_DIR")) return std::string(bin) + "/dorv-sample-school";
    return DORV_SAMPLE_SCHOOL;
}

// Without --first-tests-only every test has its scores.
bool MakeSampleSchool(const fs::path &drive, bool firstTestsOnly) {
    const std::string command =
        "'" + SampleSchoolTool() + "' " + (firstTestsOnly ? "--first-tests-only " : "") + "'" + drive.string() + "'";
    return std::system(command.c_str()) == 0;
}

#define EXPECT_READER_ONLY() EXPECT_EQ(LastLoadPath(), LoadPath::Reader)

bool IsLetter(uint8_t b) { return b == 'A' || b == 'B' || b == 'C'; }

// The class counts and both sets of test names of the work drive, the test
// names current while the object lives.
struct GradeMasters {
    TKurasuSuData classes;
    TTeikiTestName teiki;
    TJitsuTestName jitsu;

    GradeMasters() {
        classes.LoadKurasuSu();
        teiki.LoadTestNames();
        jitsu.LoadTestNames();
        CurTeikiTestName = &teiki;
        CurJitsuTestName = &jitsu;
    }
    // Selects grade g and loads its roster.
    void SelectGrade(int g, TNameData &roster) const {
        SelectedGrade = static_cast<uint8_t>(g);
        roster.Grade = static_cast<uint8_t>(g);
        roster.LoadMeibo(classes.GradeClasses[g]);
    }
    ~GradeMasters() {
        CurTeikiTestName = nullptr;
        CurJitsuTestName = nullptr;
    }
    GradeMasters(const GradeMasters &) = delete;
    GradeMasters &operator=(const GradeMasters &) = delete;
};

// One sample school early in its year (the later tests without scores) for
// all tests; made by the first test that needs it, so that a failure to make
// it fails that test instead of skipping them all.
class SampleSchool : public ::testing::Test {
protected:
    static void TearDownTestSuite() {
        delete school_;
        school_ = nullptr;
    }
    void SetUp() override {
        if (!school_) {
            school_ = new SchoolFolder;
            made_ = MakeSampleSchool(school_->Root(), true);
        }
        ASSERT_TRUE(made_) << SampleSchoolTool() << " failed";
        WorkDrive = school_->Root().string();
    }

    static SchoolFolder *school_;
    static bool made_;
};
bool SampleSchool::made_ = false;
SchoolFolder *SampleSchool::school_ = nullptr;

TEST_F(SampleSchool, MasterWorkbooksLoadThroughTheReader) {
    TKurasuSuData classes;
    classes.LoadKurasuSu();
    EXPECT_READER_ONLY();
    EXPECT_EQ(classes.GradeClasses[1], 3);
    EXPECT_EQ(classes.GradeClasses[2], 3);
    EXPECT_EQ(classes.GradeClasses[3], 2);

    TTeachers staff;
    staff.LoadShokuin();
    EXPECT_READER_ONLY();
    std::set<int> subjects;
    std::set<std::string> homerooms;
    int teachers = 0;
    for (int i = 1; i <= 100 && !staff.Teacher[i].StaffNo.empty(); ++i) {
        const TTeacherRec &t = staff.Teacher[i];
        ++teachers;
        SCOPED_TRACE(t.TeacherName);
        EXPECT_GE(t.StaffNo.size(), 4u);
        EXPECT_LE(t.StaffNo.size(), 6u);
        EXPECT_EQ(staff.IndexOfStaffNo(std::stoi(t.StaffNo)), i);
        EXPECT_FALSE(t.TeacherName.empty());
        subjects.insert(t.Kyoka);
        const TTeacherClass &home = t.TeacherClass[0];
        if (home.Grade != 0) {
            EXPECT_LE(home.ClassNo, classes.GradeClasses[home.Grade]);
            EXPECT_TRUE(homerooms.insert(std::to_string(home.Grade) + std::to_string(home.ClassNo)).second);
        }
        if (t.Kyoka <= 10) {
            EXPECT_EQ(t.TeacherClass[1].Grade, 1);  // every subject teacher teaches
        }
    }
    EXPECT_GE(teachers, 12);
    for (int s = 0; s <= 11; ++s) EXPECT_TRUE(subjects.count(s)) << "no teacher of subject " << s;
    EXPECT_EQ(homerooms.size(), 8u);  // one per class of the school

    TTeikiTestName teiki;
    TJitsuTestName jitsu;
    teiki.LoadTestNames();
    EXPECT_READER_ONLY();
    jitsu.LoadTestNames();
    EXPECT_READER_ONLY();
    for (int g = 1; g <= 3; ++g)
        for (int t = 1; t <= 5; ++t) {
            EXPECT_FALSE(teiki.TestName[g][t].empty());
            EXPECT_FALSE(jitsu.TestName[g][t].empty());
        }

    for (const char *book : {TKantenData::kTermWorkbook, TKantenData::kRegisterWorkbook}) {
        SCOPED_TRACE(book);
        TKantenData kanten;
        kanten.WorkbookName = book;
        kanten.LoadKanten();
        EXPECT_READER_ONLY();
        for (int s = 0; s < 9; ++s) {
            const int count = s == 0 ? 5 : 4;  // what the export carries
            for (int i = 0; i < 6; ++i) EXPECT_EQ(kanten.Koumoku[s][i].empty(), i >= count) << s << "/" << i;
        }
    }

    const testing::CellMap tmpl = ReaderCells(fs::path(DataFolderPath()) / "雛形-名簿.xls");
    EXPECT_EQ(tmpl, (testing::CellMap{{"Data!A1", "番号"}, {"Data!B1", "氏名"}, {"Data!C1", "性別"}}));
}

TEST_F(SampleSchool, GradeWorkbooksLoadThroughTheReaderAndAgree) {
    const GradeMasters masters;
    const TKurasuSuData &classes = masters.classes;

    for (int g = 1; g <= 3; ++g) {
        SCOPED_TRACE("grade " + std::to_string(g));
        const uint8_t cc = classes.GradeClasses[g];
        TNameData roster;
        masters.SelectGrade(g, roster);
        EXPECT_READER_ONLY();
        int students = 0, girls = 0;
        for (int r = 1; r <= 420; ++r) {
            if (roster.Names[r].empty()) continue;
            ++students;
            EXPECT_LE((r - 1) / 42 + 1, cc) << "a student outside the classes";
            EXPECT_LE(cp932::width(roster.Names[r]), 14u) << roster.Names[r];
            EXPECT_TRUE(roster.Sex[r] == 0 || roster.Sex[r] == 1);
            girls += roster.Sex[r];
        }
        EXPECT_GE(students, 28 * cc);
        EXPECT_LT(students, 42 * cc);  // a few slots stay empty
        EXPECT_GT(girls, students / 4);
        EXPECT_LT(girls, students * 3 / 4);
        auto named = [&](int r) { return !roster.Names[r].empty(); };

        for (uint8_t kind : {uint8_t{0}, uint8_t{1}}) {
            for (uint8_t t = 1; t <= 5; ++t) {
                SCOPED_TRACE("test kind " + std::to_string(kind) + " number " + std::to_string(t));
                SelectedTest = t;
                TSotenData scores;
                scores.LoadTest(TTestId{kind, t}, cc);
                EXPECT_READER_ONLY();
                const bool filled = kind == 0 ? t <= 2 : t == 1;
                int withScores = 0;
                for (int r = 1; r <= 420; ++r) {
                    const uint8_t *s = scores.Score[r];
                    if (s[0] == 255) continue;
                    ++withScores;
                    EXPECT_TRUE(named(r)) << "scores without a student in slot " << r;
                    const int columns = kind == 0 ? 11 : 5;
                    for (int i = 0; i < columns; ++i) EXPECT_LE(s[i], 100);
                    for (int i = columns; i < 12; ++i) EXPECT_EQ(s[i], 255);
                    if (kind == 0) {
                        EXPECT_LE(s[9], 50);
                        EXPECT_LE(s[10], 50);
                        EXPECT_EQ(s[8], s[9] + s[10]);  // 技家 = 技術 + 家庭
                    }
                }
                if (filled) {
                    EXPECT_GE(withScores, students * 9 / 10);
                } else {
                    EXPECT_EQ(withScores, 0);
                }
            }
        }

        for (int book = 1; book <= 4; ++book) {
            SCOPED_TRACE("rating workbook " + std::to_string(book));
            THyoteiData ratings;
            ratings.IsYouroku = book == 4 ? 1 : 0;
            SelectedTerm = static_cast<uint8_t>(book == 4 ? 1 : book);
            ratings.LoadHyotei(cc);
            EXPECT_READER_ONLY();
            for (int r = 1; r <= 420; ++r)
                for (int j = 0; j < 9; ++j) {
                    const THyoteiRec &h = ratings.Hyotei[r][j + 1];
                    const bool rated = named(r) && (book == 1 || (book == 2 && (j == 0 || j == 2)));
                    if (!rated) {
                        EXPECT_EQ(h.Rating, 255);
                        for (int i = 1; i <= 6; ++i) EXPECT_EQ(h.Kanten[i], 255);
                        continue;
                    }
                    EXPECT_GE(h.Rating, 1);
                    EXPECT_LE(h.Rating, 5);
                    const int viewpoints = j == 0 ? 5 : 4;
                    for (int i = 1; i <= 6; ++i) {
                        if (i <= viewpoints) {
                            EXPECT_TRUE(IsLetter(h.Kanten[i])) << r << "/" << j << "/" << i;
                        } else {
                            EXPECT_EQ(h.Kanten[i], 255);
                        }
                    }
                }
        }

        for (uint8_t term = 1; term <= 3; ++term) {
            SCOPED_TRACE("marks of term " + std::to_string(term));
            SelectedTerm = term;
            TNaishinData marks;
            marks.LoadNaishin(term, cc);
            EXPECT_READER_ONLY();
            for (int r = 1; r <= 420; ++r)
                for (int j = 0; j < 9; ++j) {
                    if (term == 1 && named(r)) {
                        EXPECT_GE(marks.Mark[r][j], 1);
                        EXPECT_LE(marks.Mark[r][j], 5);
                    } else {
                        EXPECT_EQ(marks.Mark[r][j], 255);
                    }
                }
        }

        // The export's workbooks: the nine subject sheets with their headings.
        for (const std::string name : {"１学期評定", "２学期評定", "３学期評定", "指導要録評定"}) {
            const testing::CellMap cells = ReaderCells(fs::path(ConversionFolderPath(g)) / (name + ".xls"));
            std::set<std::string> sheets;
            for (const auto &[key, text] : cells) {
                const std::size_t bang = key.find('!');
                sheets.insert(key.substr(0, bang));
                EXPECT_EQ(key.substr(key.find_first_of("0123456789", bang)), "1") << key << " below the headings";
            }
            EXPECT_EQ(sheets.size(), 9u);
            for (int j = 0; j < 9; ++j) {
                const std::string sheet(KyokaSheetNames[j]);
                EXPECT_EQ(cells.at(sheet + "!A1"), "番号");
                EXPECT_EQ(cells.at(sheet + (j == 0 ? "!G1" : "!F1")), "評定");
            }
        }
    }
}

TEST_F(SampleSchool, TwoRunsWriteTheSameFiles) {
    SchoolFolder other;
    ASSERT_TRUE(MakeSampleSchool(other.Root(), true));
    std::vector<fs::path> files;
    for (const auto &e : fs::recursive_directory_iterator(school_->Root()))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), school_->Root()));
    EXPECT_GE(files.size(), 70u);  // masters, template, 22 per grade
    for (const fs::path &f : files) {
        SCOPED_TRACE(f.string());
        EXPECT_EQ(Stamp(other.Root() / f).bytes, Stamp(school_->Root() / f).bytes);
    }
}

// The school as the demo opens it: every regular and proficiency test of
// every grade holds the scores of nearly every student, a few are absent,
// and every other workbook is the one of the early school.
TEST_F(SampleSchool, TheFullYearFillsEveryTestAndChangesNothingElse) {
    SchoolFolder full;
    ASSERT_TRUE(MakeSampleSchool(full.Root(), false));
    const GradeMasters masters;
    const TKurasuSuData &classes = masters.classes;
    const TTeikiTestName &teiki = masters.teiki;
    const TJitsuTestName &jitsu = masters.jitsu;

    std::set<fs::path> laterTests;
    for (int g = 1; g <= 3; ++g) {
        SCOPED_TRACE("grade " + std::to_string(g));
        const uint8_t cc = classes.GradeClasses[g];
        TNameData roster;
        masters.SelectGrade(g, roster);
        int students = 0;
        for (int r = 1; r <= 420; ++r) students += roster.Names[r].empty() ? 0 : 1;

        int absences = 0;
        for (uint8_t kind : {uint8_t{0}, uint8_t{1}}) {
            const TTestNameSet &names =
                kind == 0 ? static_cast<const TTestNameSet &>(teiki) : static_cast<const TTestNameSet &>(jitsu);
            for (uint8_t t = 1; t <= 5; ++t) {
                SCOPED_TRACE("test kind " + std::to_string(kind) + " number " + std::to_string(t));
                if (t > (kind == 0 ? 2 : 1))
                    laterTests.insert(fs::path(GakunenFolders[g]) / (names.TestName[g][t] + ".xls"));
                SelectedTest = t;
                TSotenData scores;
                scores.LoadTest(TTestId{kind, t}, cc);
                int withScores = 0;
                for (int r = 1; r <= 420; ++r) {
                    if (scores.Score[r][0] == 255) continue;
                    ++withScores;
                    EXPECT_FALSE(roster.Names[r].empty()) << "scores without a student in slot " << r;
                    if (kind == 0) {
                        EXPECT_EQ(scores.Score[r][8], scores.Score[r][9] + scores.Score[r][10]);
                    }
                }
                EXPECT_GE(withScores, students * 9 / 10);
                absences += students - withScores;
            }
        }
        EXPECT_GT(absences, 0);
    }

    const fs::path data = fs::path(RootFolder) / fs::path(DataFolder);
    std::set<fs::path> changed;
    for (const auto &e : fs::recursive_directory_iterator(school_->Root() / data)) {
        if (!e.is_regular_file()) continue;
        const fs::path f = fs::relative(e.path(), school_->Root() / data);
        if (Stamp(full.Root() / data / f).bytes != Stamp(e.path()).bytes) changed.insert(f);
    }
    EXPECT_EQ(changed, laterTests);
}

}  // namespace
}  // namespace dorv
