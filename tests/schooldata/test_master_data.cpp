// Loading the roster, the staff list, the test names, the class counts and
// the viewpoint labels from small workbooks, through the reader and, where a
// cell sends it there, through the service.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "school_fixture.h"
#include "schooldata/access.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/teachers.h"
#include "schooldata/test_names.h"

namespace dorv {
namespace {

using testing::SchoolFolder;
using testing::SheetSpec;
using testing::Stamp;
using testing::WriteXls;

// ---- Roster -----------------------------------------------------------------

TEST(Roster, LoadsNamesSexesAndFlagsThroughTheReader) {
    SchoolFolder school;
    WriteXls(school.Grade(2, "名簿.xls"), {{"Data",
                                            {{"A1", "番号"},
                                             {"B1", "氏名"},
                                             {"C1", "性別"},
                                             {"A2", "101"},
                                             {"B2", "山田太郎"},
                                             {"C2", "男"},
                                             {"B3", "佐藤花子"},
                                             {"C3", "女"},
                                             {"B4", "鈴木一二三四五六七"},
                                             {"C4", "男 "},  // 18 bytes; sex with a blank
                                             {"B5", "田中一二三四五六X"},
                                             {"C5", "1"},                     // 15 bytes
                                             {"B6", "X一二三四五六七"},       // 15 bytes, cut inside 七
                                             {"B8", "長谷川アンジェリーナ"},  // 20 bytes, then overwritten
                                             {"B100", "高橋"},
                                             {"C100", "女"},  // slot 99, class 3
                                             {"B422", "範囲外"},
                                             {"D2", "備考"}}},
                                           {"Second", {{"B3", "上書き"}, {"B8", "短い"}}}});
    const auto before = Stamp(school.Grade(2, "名簿.xls"));

    TNameData roster;
    roster.Grade = 2;
    roster.Modified[7] = 1;
    roster.Exists[100] = 1;  // class 3: left alone with a class count of 2
    roster.Cut[10] = 1;
    roster.LoadMeibo(2);
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);

    EXPECT_EQ(roster.Names[1], "山田太郎");
    EXPECT_EQ(roster.Sex[1], 0);
    EXPECT_EQ(roster.Names[2], "上書き");  // a later sheet overwrites
    EXPECT_EQ(roster.Sex[2], 1);
    EXPECT_EQ(roster.Names[3], "鈴木一二三四五");
    EXPECT_EQ(roster.Sex[3], 3);
    EXPECT_EQ(roster.Names[4], "田中一二三四五");
    EXPECT_EQ(roster.Sex[4], 3);
    EXPECT_EQ(roster.Names[5], "X一二三四五六");
    EXPECT_EQ(roster.Sex[5], 3);  // no cell
    EXPECT_EQ(roster.Names[99], "高橋");
    EXPECT_EQ(roster.Sex[99], 1);
    EXPECT_EQ(roster.Names[6], "");
    EXPECT_EQ(roster.Sex[6], 3);
    EXPECT_EQ(roster.Names[420], "");
    EXPECT_EQ(roster.Names[7], "短い");

    // Which names hold only the start of the workbook's text.
    for (int r = 1; r <= 420; ++r) EXPECT_EQ(roster.Cut[r], r >= 3 && r <= 5 ? 1 : 0) << r;

    EXPECT_EQ(roster.Exists[1], 1);
    EXPECT_EQ(roster.Exists[6], 0);
    EXPECT_EQ(roster.Exists[99], 0);   // class 3 not counted
    EXPECT_EQ(roster.Exists[100], 1);  // untouched
    for (int r = 1; r <= 420; ++r) EXPECT_EQ(roster.Modified[r], 0);
    EXPECT_EQ(Stamp(school.Grade(2, "名簿.xls")), before);

    roster.LoadMeibo(3);
    EXPECT_EQ(roster.Exists[99], 1);
    EXPECT_EQ(roster.Exists[100], 0);
}

TEST(Roster, PathFollowsItsOwnGrade) {
    SchoolFolder school;
    TNameData roster;
    roster.Grade = 3;
    EXPECT_EQ(roster.MeiboPath(), school.Grade(3, "名簿.xls").string());
}

TEST(Roster, MissingWorkbookRaisesAndKeepsFlags) {
    SchoolFolder school;
    TNameData roster;
    roster.Grade = 1;
    roster.Modified[5] = 1;
    EXPECT_THROW(roster.LoadMeibo(2), ExcelError);
    EXPECT_EQ(roster.Modified[5], 1);
}

// ---- Staff list -------------------------------------------------------------

SheetSpec staffSheet(const std::vector<std::pair<std::string, std::string>> &extra) {
    SheetSpec s{"Meibo",
                {{"A1", "職員番号"}, {"B1", "氏名"},     {"C1", "教科"},    {"D1", "担任"},
                 {"A2", "1001"},     {"B2", "国語先生"}, {"C2", "1"},       {"D2", "31"},
                 {"E2", "21M"},      {"F2", "21W"},      {"G2", "32"},      {"B3", "技家先生"},
                 {"C3", "9"},        {"D3", "3"},        {"A4", "1234567"}, {"B4", "長い名前の先生です"},
                 {"C4", "12"},       {"D4", "310"},      {"E4", "2A"},      {"F4", "210"},
                 {"A5", "A123"},     {"B5", "番号なし"}, {"C5", "2"}},
                {{"A3", "000815"}}};
    for (auto &cell : extra) s.cells.push_back(cell);
    return s;
}

TEST(StaffList, LoadsRecordsThroughTheReader) {
    SchoolFolder school;
    WriteXls(school.Kihon("Shokuin.xls"),
             {staffSheet({{"A6", "2002"}, {"B6", "理科先生"}, {"AE6", "13"}, {"AF6", "99"}}),
              {"Other", {{"A2", "9999"}, {"B7", "他"}}}});
    const auto before = Stamp(school.Kihon("Shokuin.xls"));

    TTeachers t;
    t.LoadShokuin();
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);

    EXPECT_EQ(t.Teacher[1].StaffNo, "1001");
    EXPECT_EQ(t.Teacher[1].TeacherName, "国語先生");
    EXPECT_EQ(t.Teacher[1].Kyoka, 0);
    EXPECT_EQ(t.Teacher[1].TeacherClass[0].Grade, 3);
    EXPECT_EQ(t.Teacher[1].TeacherClass[0].ClassNo, 1);
    EXPECT_EQ(t.Teacher[1].TeacherClass[0].Kind, 2);
    struct Entry {
        int k, grade, cls, kind;
    };
    for (Entry e : {Entry{1, 2, 1, 0}, Entry{2, 2, 1, 1}, Entry{3, 3, 2, 2}, Entry{4, 0, 0, 2}}) {
        EXPECT_EQ(t.Teacher[1].TeacherClass[e.k].Grade, e.grade) << e.k;
        EXPECT_EQ(t.Teacher[1].TeacherClass[e.k].ClassNo, e.cls) << e.k;
        EXPECT_EQ(t.Teacher[1].TeacherClass[e.k].Kind, e.kind) << e.k;
    }
    EXPECT_EQ(t.Teacher[2].StaffNo, "000815");
    EXPECT_EQ(t.Teacher[2].Kyoka, 8);
    EXPECT_EQ(t.Teacher[2].TeacherClass[0].Grade, 3);
    EXPECT_EQ(t.Teacher[2].TeacherClass[0].ClassNo, 0);
    EXPECT_EQ(t.Teacher[3].StaffNo, "123456");
    EXPECT_EQ(t.Teacher[3].TeacherName, "長い名前の先生");
    EXPECT_EQ(t.Teacher[3].Kyoka, 11);
    EXPECT_EQ(t.Teacher[3].TeacherClass[0].ClassNo, 1);
    EXPECT_EQ(t.Teacher[3].TeacherClass[1].ClassNo, 0);
    EXPECT_EQ(t.Teacher[3].TeacherClass[2].Kind, 2);
    EXPECT_EQ(t.Teacher[5].TeacherClass[27].Grade, 1);  // AE: the last entry
    EXPECT_EQ(t.Teacher[5].TeacherClass[27].ClassNo, 3);
    EXPECT_EQ(t.Teacher[6].StaffNo, "");  // rows of the second sheet never count
    EXPECT_EQ(t.Teacher[6].TeacherName, "");
    EXPECT_EQ(t.Teacher[6].Kyoka, 11);
    EXPECT_EQ(Stamp(school.Kihon("Shokuin.xls")), before);
}

TEST(StaffList, LookupFindsOnlyARealTeacher) {
    SchoolFolder school;
    WriteXls(school.Kihon("Shokuin.xls"),
             {staffSheet({{"B6", "番号の無い行"}, {"C6", "3"}, {"A7", "3003"}, {"B7", "下の先生"}})});
    TTeachers t;
    t.LoadShokuin();

    struct Case {
        int login;
        int want;
    };
    const Case cases[] = {
        {1001, 1}, {815, 2}, {123456, 3}, {1234567, 0}, {123, 0},  // "A123" is no staff number
        {0, 0},                                                    // a login without digits
        {3003, 0},  // below the row without a staff number: the list ended there
        {4242, 0},
    };
    for (const Case &c : cases) EXPECT_EQ(t.IndexOfStaffNo(c.login), c.want) << c.login;

    const TTeacherRec &nobody = t.Teacher[t.IndexOfStaffNo(4242)];
    EXPECT_EQ(nobody.StaffNo, "");
    EXPECT_EQ(nobody.TeacherName, "");
    EXPECT_EQ(nobody.Kyoka, 11);
    EXPECT_EQ(nobody.TeacherClass[0].Grade, 0);
}

TEST(StaffList, FullListWithoutTheLoginIsNotFound) {
    SchoolFolder school;
    SheetSpec s{"Meibo", {}, {}};
    for (int w = 2; w <= 102; ++w) s.cells.push_back({"A" + std::to_string(w), std::to_string(5000 + w)});
    WriteXls(school.Kihon("Shokuin.xls"), {s});
    TTeachers t;
    t.LoadShokuin();
    EXPECT_EQ(t.IndexOfStaffNo(5100), 99);
    EXPECT_EQ(t.IndexOfStaffNo(5101), 100);
    EXPECT_EQ(t.IndexOfStaffNo(5102), 0);  // row 102 lies beyond the list
    EXPECT_EQ(t.IndexOfStaffNo(1), 0);
}

TEST(StaffList, SubjectTextSendsTheLoadToTheServiceAndAReloadStartsEmpty) {
    SchoolFolder school;
    WriteXls(school.Kihon("Shokuin.xls"), {staffSheet({{"A6", "2002"}, {"C6", "国語"}, {"C2", "257"}})});
    const auto before = Stamp(school.Kihon("Shokuin.xls"));
    TTeachers t;
    t.LoadShokuin();
    EXPECT_EQ(LastLoadPath(), LoadPath::Service);
    EXPECT_EQ(t.Teacher[1].Kyoka, 11);   // 257 is no subject code
    EXPECT_EQ(t.Teacher[5].Kyoka, 255);  // text without digits: above 10, none
    EXPECT_EQ(t.Teacher[1].TeacherClass[3].Grade, 3);
    EXPECT_EQ(t.Teacher[1].TeacherClass[2].Kind, 1);
    EXPECT_EQ(t.Teacher[3].StaffNo, "123456");
    EXPECT_EQ(t.Teacher[3].TeacherName, "長い名前の先生");
    EXPECT_EQ(t.IndexOfStaffNo(2002), 5);
    EXPECT_EQ(Stamp(school.Kihon("Shokuin.xls")), before);

    WriteXls(school.Kihon("Shokuin.xls"), {{"Meibo", {{"A2", "7777"}, {"B2", "ひとり"}, {"C2", "5"}}}});
    t.LoadShokuin();
    EXPECT_EQ(t.Teacher[1].StaffNo, "7777");
    EXPECT_EQ(t.Teacher[1].TeacherClass[0].Grade, 0);
    EXPECT_EQ(t.Teacher[1].TeacherClass[1].Grade, 0);
    EXPECT_EQ(t.Teacher[2].StaffNo, "");
    EXPECT_EQ(t.Teacher[2].TeacherName, "");
    EXPECT_EQ(t.IndexOfStaffNo(1001), 0);
}

// ---- Test names ---------------------------------------------------------------

TEST(TestNames, SheetsCountByPositionOnTheReaderPath) {
    SchoolFolder school;
    const std::string fifty = "一二三四五六七八九十一二三四五六七八九十一二三四五";  // 50 bytes
    WriteXls(school.Kihon("TeikiTestName.xls"),
             {{"2nen", {{"A1", "１学期中間"}, {"A2", "１学期期末"}, {"A5", "学年末"}, {"A6", "六番目"}, {"B1", "横"}}},
              {"1nen", {{"A3", fifty}, {"A4", "X" + fifty}}},
              {"3nen", {{"A1", "12"}}},
              {"4nen", {{"A1", "四つ目"}}}});
    TTeikiTestName names;
    names.TestName[1][3] = "前の名前";
    names.LoadTestNames();
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);
    EXPECT_EQ(names.TestName[1][1], "１学期中間");
    EXPECT_EQ(names.TestName[1][2], "１学期期末");
    EXPECT_EQ(names.TestName[1][3], "");  // a reload starts from empty names
    EXPECT_EQ(names.TestName[1][5], "学年末");
    EXPECT_EQ(names.TestName[2][3], fifty.substr(0, 60));        // 20 characters, 40 bytes
    EXPECT_EQ(names.TestName[2][4], "X" + fifty.substr(0, 57));  // 39 bytes: no half character
    EXPECT_EQ(names.TestName[3][1], "12");
    EXPECT_EQ(names.TestName[3][2], "");

    TJitsuTestName jitsu;
    EXPECT_EQ(jitsu.WorkbookPath(), school.Kihon("JitsuTestName.xls").string());
    EXPECT_THROW(jitsu.LoadTestNames(), ExcelError);
}

// ---- Class counts -------------------------------------------------------------

TEST(ClassCounts, LoadAndHoldToTheSlotModel) {
    SchoolFolder school;
    struct Case {
        const char *name;
        std::vector<std::pair<std::string, std::string>> cells;
        int g1, g2, g3;
        LoadPath path;
    };
    const Case cases[] = {
        {"plain", {{"B2", "4"}, {"B3", "4"}, {"B4", "3"}}, 4, 4, 3, LoadPath::Reader},
        {"wrong cells", {{"C2", "4"}, {"C3", "4"}, {"B5", "3"}}, 0, 0, 0, LoadPath::Reader},
        {"empty B4", {{"B2", "2"}, {"B3", "5"}}, 2, 5, 0, LoadPath::Reader},
        {"11 and more held to 10", {{"B2", "11"}, {"B3", "300"}, {"B4", "10"}}, 10, 10, 10, LoadPath::Reader},
        {"negative", {{"B2", "-1"}, {"B3", "0"}, {"B4", "1"}}, 0, 0, 1, LoadPath::Reader},
        {"text 4組 through the service", {{"B2", "3"}, {"B3", "4組"}, {"B4", "2"}}, 3, 4, 2, LoadPath::Service},
        {"text without digits", {{"B2", "四"}, {"B3", "12組"}, {"B4", "2"}}, 0, 10, 2, LoadPath::Service},
    };
    for (const Case &c : cases) {
        const auto path = school.Kihon("KurasuSu.xls");
        WriteXls(path, {{"KurasuSu", c.cells}});
        const auto before = Stamp(path);
        TKurasuSuData k;
        k.GradeClasses[1] = k.GradeClasses[2] = k.GradeClasses[3] = 7;  // a reload starts from 0
        k.LoadKurasuSu();
        EXPECT_EQ(LastLoadPath(), c.path) << c.name;
        EXPECT_EQ(k.GradeClasses[1], c.g1) << c.name;
        EXPECT_EQ(k.GradeClasses[2], c.g2) << c.name;
        EXPECT_EQ(k.GradeClasses[3], c.g3) << c.name;
        EXPECT_EQ(Stamp(path), before) << c.name;
    }
}

TEST(ClassCounts, BadWorkbooks) {
    SchoolFolder school;
    TKurasuSuData k;
    EXPECT_THROW(k.LoadKurasuSu(), ExcelError);  // missing

    const auto path = school.Kihon("KurasuSu.xls");
    WriteXls(path, {{"Sheet1", {{"B2", "三"}}}});  // the reader refuses the text, the service finds no sheet
    const auto before = Stamp(path);
    try {
        k.LoadKurasuSu();
        FAIL();
    } catch (const ExcelError &e) {
        EXPECT_NE(std::string(e.what()).find("KurasuSu"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Stamp(path), before);
}

// ---- Viewpoint labels ----------------------------------------------------------

std::vector<SheetSpec> kantenSheets(const std::vector<std::vector<std::string>> &labels) {
    static const char *names[] = {"Kokugo", "Shakai", "Sugaku", "Rika", "Eigo", "Ongaku", "Bijutsu", "Hotai", "Gika"};
    std::vector<SheetSpec> sheets;
    for (int s = 0; s < 9; ++s) {
        SheetSpec sheet{names[s], {}, {}};
        if (s < static_cast<int>(labels.size()))
            for (std::size_t i = 0; i < labels[s].size(); ++i)
                if (!labels[s][i].empty()) sheet.cells.push_back({"A" + std::to_string(i + 1), labels[s][i]});
        sheets.push_back(sheet);
    }
    return sheets;
}

TEST(Viewpoints, LabelsByPositionAndAReloadReplacesAll) {
    SchoolFolder school;
    std::vector<std::vector<std::string>> term(9);
    term[0] = {"関心・意欲・態度", "話す・聞く", "書く", "読む", "言語", "六"};
    term[3] = {"自然事象", "科学的思考", "観察・実験", "知識・理解"};
    term[4] = {"a", "b", "", "d"};  // a gap
    auto sheets = kantenSheets(term);
    sheets[0].cells.push_back({"A7", "七"});
    sheets[0].cells.push_back({"B1", "横"});
    sheets.push_back({"Extra", {{"A1", "十番目"}}, {}});
    WriteXls(school.Kihon("KantenKoumoku.xls"), sheets);

    std::vector<std::vector<std::string>> reg(9);
    reg[0] = {"国語への関心"};
    WriteXls(school.Kihon("YourokuKantenKoumoku.xls"), kantenSheets(reg));

    TKantenData k;
    k.WorkbookName = TKantenData::kTermWorkbook;
    k.LoadKanten();
    EXPECT_EQ(LastLoadPath(), LoadPath::Reader);
    EXPECT_EQ(k.Koumoku[0][0], "関心・意欲・態度");
    EXPECT_EQ(k.Koumoku[0][5], "六");
    EXPECT_EQ(k.Koumoku[3][3], "知識・理解");
    EXPECT_EQ(k.Koumoku[3][4], "");
    EXPECT_EQ(k.Koumoku[4][1], "b");
    EXPECT_EQ(k.Koumoku[4][2], "");
    EXPECT_EQ(k.Koumoku[4][3], "d");
    EXPECT_EQ(k.Koumoku[8][0], "");

    k.WorkbookName = TKantenData::kRegisterWorkbook;
    k.LoadKanten();
    EXPECT_EQ(k.Koumoku[0][0], "国語への関心");
    for (int s = 0; s < 9; ++s)
        for (int i = 0; i < 6; ++i)
            if (s || i) {
                EXPECT_EQ(k.Koumoku[s][i], "") << s << "," << i;  // nothing of the other workbook
            }

    k.WorkbookName = "None.xls";
    EXPECT_THROW(k.LoadKanten(), ExcelError);
}

}  // namespace
}  // namespace dorv

// ---- The service paths, as when the reader refuses a workbook -----------------

namespace dorv {
namespace {

class ServicePathOnly {
public:
    ServicePathOnly() { SetReaderPathEnabled(false); }
    ~ServicePathOnly() { SetReaderPathEnabled(true); }
};

TEST(ServicePath, RosterReadsOnlyTheClassesOfTheGrade) {
    SchoolFolder school;
    const auto path = school.Grade(1, "名簿.xls");
    WriteXls(path, {{"Other", {{"B2", "別シート"}}},
                    {"Data",
                     {{"B2", "山田太郎"},
                      {"C2", "男"},
                      {"B3", "鈴木一二三四五六七"},
                      {"C3", "女"},
                      {"B4", "名前"},
                      {"C4", "男 "},
                      {"B85", "八十四"},
                      {"B86", "三組の人"},
                      {"C86", "女"}}}});
    const auto before = Stamp(path);
    ServicePathOnly servicePath;

    TNameData roster;
    roster.Grade = 1;
    roster.Exists[85] = 1;
    roster.Modified[3] = 1;
    roster.LoadMeibo(2);
    EXPECT_EQ(LastLoadPath(), LoadPath::Service);
    EXPECT_EQ(roster.Names[1], "山田太郎");
    EXPECT_EQ(roster.Sex[1], 0);
    EXPECT_EQ(roster.Names[2], "鈴木一二三四五");
    EXPECT_EQ(roster.Sex[2], 1);
    EXPECT_EQ(roster.Cut[1], 0);
    EXPECT_EQ(roster.Cut[2], 1);
    EXPECT_EQ(roster.Sex[3], 3);
    EXPECT_EQ(roster.Sex[5], 3);  // empty text
    EXPECT_EQ(roster.Names[84], "八十四");
    EXPECT_EQ(roster.Names[85], "");  // class 3 is not read
    EXPECT_EQ(roster.Sex[85], 3);
    EXPECT_EQ(roster.Exists[84], 1);
    EXPECT_EQ(roster.Exists[85], 1);  // beyond the classes: left alone
    EXPECT_EQ(roster.Modified[3], 0);
    EXPECT_EQ(Stamp(path), before);  // closed saving, but nothing was written

    TNameData none;
    none.Grade = 1;
    none.Exists[1] = 1;
    none.Modified[1] = 1;
    none.LoadMeibo(0);
    EXPECT_EQ(none.Names[1], "");
    EXPECT_EQ(none.Exists[1], 1);
    EXPECT_EQ(none.Modified[1], 0);
}

TEST(ServicePath, StaffListStopsAtTheFirstRowWithoutAStaffNumber) {
    SchoolFolder school;
    WriteXls(school.Kihon("Shokuin.xls"), {{"First", {{"A2", "1"}}},
                                           {"Meibo",
                                            {{"A2", "1001"},
                                             {"B2", "先生一"},
                                             {"C2", "3"},
                                             {"D2", "21"},
                                             {"E2", "11M"},
                                             {"F2", "12W"},
                                             {"H2", "13"},
                                             {"A3", "1234567"},
                                             {"B3", "長い名前の先生です"},
                                             {"C3", "0"},
                                             {"B4", "番号なし"},
                                             {"C4", "6"},
                                             {"A5", "5005"},
                                             {"B5", "下の先生"}},
                                            {{"A6", "000815"}}}});
    ServicePathOnly servicePath;
    TTeachers t;
    t.LoadShokuin();
    EXPECT_EQ(t.Teacher[1].StaffNo, "1001");
    EXPECT_EQ(t.Teacher[1].Kyoka, 2);
    EXPECT_EQ(t.Teacher[1].TeacherClass[0].Grade, 2);
    EXPECT_EQ(t.Teacher[1].TeacherClass[1].Kind, 0);
    EXPECT_EQ(t.Teacher[1].TeacherClass[2].Kind, 1);
    EXPECT_EQ(t.Teacher[1].TeacherClass[3].Grade, 0);  // F..G: the first empty cell ends the classes
    EXPECT_EQ(t.Teacher[1].TeacherClass[4].Grade, 0);
    EXPECT_EQ(t.Teacher[2].StaffNo, "123456");
    EXPECT_EQ(t.Teacher[2].TeacherName, "長い名前の先生");
    EXPECT_EQ(t.Teacher[2].Kyoka, 255);
    EXPECT_EQ(t.Teacher[3].TeacherName, "番号なし");
    EXPECT_EQ(t.Teacher[3].Kyoka, 5);
    EXPECT_EQ(t.Teacher[4].StaffNo, "");  // not read
    EXPECT_EQ(t.IndexOfStaffNo(5005), 0);
    EXPECT_EQ(t.IndexOfStaffNo(123456), 2);
}

TEST(ServicePath, TestNamesGoBySheetNameAndLabelsStopAtAGap) {
    SchoolFolder school;
    WriteXls(school.Kihon("JitsuTestName.xls"),
             {{"2nen", {{"A1", "二年第一回"}}}, {"1nen", {{"A1", "一年第一回"}, {"A5", "一年第五回"}}}, {"3nen", {}}});
    std::vector<std::vector<std::string>> labels(9);
    labels[3] = {"一", "二", "", "四"};
    WriteXls(school.Kihon("KantenKoumoku.xls"), kantenSheets(labels));
    const auto before = Stamp(school.Kihon("KantenKoumoku.xls"));

    ServicePathOnly servicePath;
    TJitsuTestName names;
    names.LoadTestNames();
    EXPECT_EQ(names.TestName[1][1], "一年第一回");
    EXPECT_EQ(names.TestName[1][5], "一年第五回");
    EXPECT_EQ(names.TestName[2][1], "二年第一回");
    EXPECT_EQ(names.TestName[3][1], "");

    TKantenData k;
    k.WorkbookName = TKantenData::kTermWorkbook;
    k.LoadKanten();
    EXPECT_EQ(LastLoadPath(), LoadPath::Service);
    EXPECT_EQ(k.Koumoku[3][0], "一");
    EXPECT_EQ(k.Koumoku[3][1], "二");
    EXPECT_EQ(k.Koumoku[3][3], "");
    EXPECT_EQ(Stamp(school.Kihon("KantenKoumoku.xls")), before);

    WriteXls(school.Kihon("KantenKoumoku.xls"), {{"Kokugo", {{"A1", "x"}}}});  // eight sheets missing
    EXPECT_THROW(k.LoadKanten(), ExcelError);
}

}  // namespace
}  // namespace dorv

// ---- Bad workbooks --------------------------------------------------------------

namespace dorv {
namespace {

namespace fs = std::filesystem;

std::string fileBytes(const fs::path &p) { return Stamp(p).bytes; }

void writeBytes(const fs::path &p, const std::string &bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// Every loader meets the same broken files: each gives the service's message
// for what the file is, none crashes or hangs, none keeps anything the
// reader made of the file, and no file is changed.
TEST(BadWorkbooks, EveryLoaderFailsClearlyAndChangesNothing) {
    SchoolFolder school;
    struct Loader {
        const char *name;
        fs::path path;
        std::function<void()> load;
    };
    TNameData roster;
    roster.Grade = 1;
    TTeachers teachers;
    TTeikiTestName teiki;
    TKurasuSuData classes;
    TKantenData kanten;
    kanten.WorkbookName = TKantenData::kTermWorkbook;
    const Loader loaders[] = {
        {"roster", school.Grade(1, "名簿.xls"), [&] { roster.LoadMeibo(3); }},
        {"staff", school.Kihon("Shokuin.xls"), [&] { teachers.LoadShokuin(); }},
        {"test names", school.Kihon("TeikiTestName.xls"), [&] { teiki.LoadTestNames(); }},
        {"class counts", school.Kihon("KurasuSu.xls"), [&] { classes.LoadKurasuSu(); }},
        {"viewpoints", school.Kihon("KantenKoumoku.xls"), [&] { kanten.LoadKanten(); }},
    };

    const fs::path good = school.Root() / "good.xls";
    WriteXls(good, {{"Data", {{"A1", "x"}, {"B2", "1"}}}});
    const std::string goodBytes = fileBytes(good);
    std::string random(4096, '\0');
    unsigned seed = 12345;
    for (char &c : random) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);

    // A roster of three classes, as each loader's sheets would hold it.
    std::vector<SheetSpec> full;
    for (const char *sheet : {"Data", "KurasuSu", "Shokuin", "1年", "Kokugo"}) {
        SheetSpec spec{sheet};
        for (int row = 2; row <= 127; ++row)
            spec.texts.push_back({"B" + std::to_string(row), "生徒" + std::to_string(row)});
        full.push_back(spec);
    }
    struct Bad {
        const char *name;
        const char *message;
        std::function<void(const fs::path &)> make;
    };
    const Bad bads[] = {
        {"missing", "見つかりません", [](const fs::path &) {}},
        {"a folder", "フォルダです", [](const fs::path &p) { fs::create_directory(p); }},
        {"no sheet of that name", "シート",
         [](const fs::path &p) {
             WriteXls(p, {{"Wrong", {{"B2", "国語"}, {"C2", "国語"}}}});
         }},
        {"empty file", "ブックではありません", [](const fs::path &p) { writeBytes(p, ""); }},
        {"random bytes", "ブックではありません", [&](const fs::path &p) { writeBytes(p, random); }},
        {"truncated", "壊れて", [&](const fs::path &p) { writeBytes(p, goodBytes.substr(0, goodBytes.size() / 2)); }},
        {"encrypted", "パスワードで保護", [&](const fs::path &p) { testing::WriteEncryptedXls(p, full); }},
    };
    for (const Loader &l : loaders) {
        for (const Bad &b : bads) {
            const std::string what = std::string(l.name) + " / " + b.name;
            bool byPosition = std::string(l.name) != "class counts" && std::string(l.name) != "staff";
            if (std::string(b.name) == "no sheet of that name" && byPosition)
                continue;  // the reader finds those sheets by position and succeeds
            fs::remove_all(l.path);
            b.make(l.path);
            const auto before = Stamp(l.path);
            try {
                l.load();
                ADD_FAILURE() << what << ": no failure";
            } catch (const ExcelError &e) {
                // A message for the user, in Japanese, naming the file or sheet.
                std::string msg = e.what();
                EXPECT_NE(msg.find(b.message), std::string::npos) << what << ": " << msg;
                EXPECT_TRUE(msg.find(l.path.filename().string()) != std::string::npos ||
                            msg.find("シート") != std::string::npos)
                    << what << ": " << msg;
            } catch (const std::exception &e) {
                ADD_FAILURE() << what << ": unexpected " << e.what();
            }
            if (std::string(l.name) == "roster") {
                EXPECT_EQ(std::count_if(std::begin(roster.Names), std::end(roster.Names),
                                        [](const std::string &n) { return !n.empty(); }),
                          0)
                    << what;
            }
            EXPECT_EQ(Stamp(l.path), before) << what;
            EXPECT_FALSE(WorkbookOperationRunning()) << what;
        }
    }
}

// A read-only master workbook still loads through the service, unchanged.
TEST(BadWorkbooks, ReadOnlyMasterWorkbookLoadsThroughTheService) {
    SchoolFolder school;
    const auto path = school.Kihon("KurasuSu.xls");
    WriteXls(path, {{"KurasuSu", {{"B2", "3組"}, {"B3", "2"}, {"B4", "11"}}}});
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto before = Stamp(path);
    TKurasuSuData k;
    k.LoadKurasuSu();
    EXPECT_EQ(LastLoadPath(), LoadPath::Service);
    EXPECT_EQ(k.GradeClasses[1], 3);
    EXPECT_EQ(k.GradeClasses[2], 2);
    EXPECT_EQ(k.GradeClasses[3], 10);
    EXPECT_EQ(Stamp(path), before);
}

}  // namespace
}  // namespace dorv
