// dorv-sample-school [--first-tests-only] DRIVE_FOLDER
// dorv-sample-school --help
//
// Writes a complete data folder of a small school under
// DRIVE_FOLDER/Dorv/Data/: the master workbooks of "Kihon", the roster
// template, and per grade the roster, one score workbook per test name, the
// rating and school-report workbooks and the conversion workbooks of "変換".
// Every test has its scores; with --first-tests-only only the first two
// regular tests and the first proficiency test have them and the later
// workbooks wait empty, as early in a school year.
// Every workbook has exactly the layout the loaders read. The content is
// fixed by a seed, so two runs give the same files byte for byte.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "schooldata/access.h"
#include "schooldata/settings.h"
#include "workbook/biff8_writer.h"
#include "workbook/cp932.h"

namespace fs = std::filesystem;
using dorv::biff8::ModelCell;
using dorv::biff8::ModelSheet;
using dorv::biff8::WorkbookModel;

namespace {

using dorv::kStudentsPerClass;
using dorv::SlotOf;
constexpr int kClasses[4] = {0, 3, 3, 2};  // by grade 1..3

// ---- Building sheets --------------------------------------------------------

struct Sheet {
    ModelSheet model;

    explicit Sheet(std::string name) { model.name = std::move(name); }

    // Row and column from 0 (row 0 is worksheet row 1, column 0 is A).
    void Number(int row, int col, double value) {
        ModelCell c;
        c.isNumber = true;
        c.number = value;
        model.cells[{static_cast<std::uint16_t>(row), static_cast<std::uint16_t>(col)}] = c;
    }
    void Text(int row, int col, std::string text) {
        ModelCell c;
        c.text = std::move(text);
        model.cells[{static_cast<std::uint16_t>(row), static_cast<std::uint16_t>(col)}] = c;
    }
    // Width in characters.
    void Width(int col, int chars) {
        model.columnWidths[static_cast<std::uint16_t>(col)] = static_cast<std::uint16_t>(chars * 256);
    }
    void Headings(const std::vector<std::string> &texts) {
        for (std::size_t i = 0; i < texts.size(); ++i) Text(0, static_cast<int>(i), texts[i]);
    }
};

void WriteBook(const fs::path &path, std::vector<Sheet> sheets) {
    WorkbookModel book;
    for (Sheet &s : sheets) book.sheets.push_back(std::move(s.model));
    const std::vector<std::uint8_t> bytes = dorv::biff8::writeWorkbookFile(book);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("ファイル " + path.string() + " を作成できません");
}

// ---- Deterministic choices --------------------------------------------------

// std::mt19937's sequence is fixed by the standard; the distributions are
// not, so values are taken from it by plain arithmetic.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : gen_(seed) {}
    int Below(int n) { return static_cast<int>(gen_() % static_cast<std::uint32_t>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(100) < percent; }

private:
    std::mt19937 gen_;
};

// ---- The school ---------------------------------------------------------------

const std::vector<std::string> kFamilyNames = {
    "佐藤",   "鈴木", "高橋", "田中", "伊藤", "渡辺", "山本",   "中村", "小林", "加藤", "吉田", "山田",
    "佐々木", "山口", "松本", "井上", "木村", "林",   "清水",   "山崎", "森",   "池田", "橋本", "阿部",
    "石川",   "前田", "藤田", "小川", "岡田", "後藤", "長谷川", "村上", "近藤", "石井", "坂本", "遠藤"};
const std::vector<std::string> kBoyNames = {"翔太", "大輝", "拓海", "健太", "蓮", "悠斗", "陸",   "颯太", "大和",
                                            "一輝", "直人", "和也", "優太", "亮", "誠",   "達也", "隼人", "光"};
const std::vector<std::string> kGirlNames = {"美咲", "陽菜", "葵",   "結衣", "さくら", "花子",
                                             "美優", "七海", "彩",   "舞",   "愛",     "真由美",
                                             "由紀", "莉子", "千尋", "楓",   "菜々子", "凛"};

struct Student {
    std::string name;  // empty = no student in the slot
    bool girl = false;
};

// [slot 1..420]; a roster per grade.
using Roster = std::vector<Student>;

std::string FullName(const std::string &family, const std::string &given) {
    std::string name = family + "　" + given;
    // Seven full-width characters at most (14 CP932 bytes).
    if (dorv::cp932::width(name) > 14) name = family + given;
    return name;
}

Roster MakeRoster(Dice &dice, int grade) {
    Roster roster(421);
    for (int c = 1; c <= kClasses[grade]; ++c) {
        const int size = dice.Between(30, 36);
        // One transferred-out student leaves a gap in the second class of
        // grade 1.
        const int gap = (grade == 1 && c == 2) ? 15 : 0;
        for (int n = 1; n <= size; ++n) {
            if (n == gap) continue;
            Student &s = roster[SlotOf(c, n)];
            s.girl = dice.Chance(50);
            const auto &given = s.girl ? kGirlNames : kBoyNames;
            s.name = FullName(kFamilyNames[dice.Below(static_cast<int>(kFamilyNames.size()))],
                              given[dice.Below(static_cast<int>(given.size()))]);
        }
    }
    return roster;
}

// A student's underlying ability, 0..1, shaping all his values.
std::vector<double> Abilities(Dice &dice, const Roster &roster) {
    std::vector<double> a(roster.size(), 0.0);
    for (std::size_t r = 1; r < roster.size(); ++r)
        if (!roster[r].name.empty()) a[r] = (dice.Between(0, 1000) + dice.Between(0, 1000)) / 2000.0;
    return a;
}

int Score(Dice &dice, double ability, int full) {
    int v = static_cast<int>(ability * full * 0.8 + full * 0.15) + dice.Between(-full / 8, full / 8);
    return v < 0 ? 0 : v > full ? full : v;
}

int Rating(Dice &dice, double ability) {
    int v = 1 + static_cast<int>(ability * 4.6) + dice.Between(-1, 1) * (dice.Chance(30) ? 1 : 0);
    return v < 1 ? 1 : v > 5 ? 5 : v;
}

char Viewpoint(Dice &dice, double ability) {
    const double x = ability + dice.Between(-20, 20) / 100.0;
    return x > 0.66 ? 'A' : x > 0.33 ? 'B' : 'C';
}

// Column A of every grade workbook: the student number of every slot of
// the grade's classes, as the roster template creation writes it.
void StudentNumbers(Sheet &sheet, int grade) {
    for (int c = 1; c <= kClasses[grade]; ++c)
        for (int n = 1; n <= kStudentsPerClass; ++n) sheet.Number(SlotOf(c, n), 0, c * 100 + n);
}

std::vector<std::string> SubjectHeadings(int count) {
    std::vector<std::string> h = {"番号"};
    for (int j = 0; j < count; ++j) h.emplace_back(dorv::KyokaNames[j]);
    return h;
}

// ---- Master workbooks ----------------------------------------------------------

struct Teacher {
    const char *staffNo;
    const char *name;
    int kyoka;              // subject code 0..11
    const char *homeroom;   // "" or grade and class digits
    const char *sexLetter;  // appended to every taught class: "", "M" or "W"
};

const std::vector<Teacher> kTeachers = {
    {"1021", "佐藤　健一", 0, "11", ""}, {"20534", "鈴木　恵子", 1, "12", ""},  {"301872", "高橋　誠", 2, "21", ""},
    {"4417", "田中　由美", 3, "22", ""}, {"52209", "伊藤　大介", 4, "31", ""},  {"6630", "渡辺　明美", 5, "", ""},
    {"70185", "山本　浩", 6, "", ""},    {"8094", "中村　剛", 7, "13", "M"},    {"81123", "小林　直子", 7, "23", "W"},
    {"9352", "加藤　修", 8, "", ""},     {"100458", "吉田　正樹", 9, "32", ""}, {"11067", "山田　幸子", 10, "", ""},
    {"12001", "森　和夫", 11, "", ""},
};

void WriteShokuin(const fs::path &kihon) {
    Sheet s("Meibo");
    s.Headings({"職員番号", "氏名", "教科", "担任", "授業クラス"});
    s.Width(1, 14);
    for (std::size_t i = 0; i < kTeachers.size(); ++i) {
        const Teacher &t = kTeachers[i];
        const int row = static_cast<int>(i) + 1;
        s.Text(row, 0, t.staffNo);
        s.Text(row, 1, t.name);
        s.Number(row, 2, t.kyoka + 1);
        if (*t.homeroom) s.Text(row, 3, t.homeroom);
        if (t.kyoka == 11) continue;  // no subject, no classes taught
        int col = 4;
        for (int g = 1; g <= 3; ++g)
            for (int c = 1; c <= kClasses[g]; ++c)
                s.Text(row, col++, std::to_string(g) + std::to_string(c) + t.sexLetter);
    }
    WriteBook(kihon / "Shokuin.xls", {s});
}

// Titles and prints append "テスト" to a test's name, so the names stop short of it.
// The last one is long enough to be cut where a print keeps ten bytes of it.
const std::vector<std::string> kTeikiTests = {"１学期中間", "１学期期末", "２学期中間", "２学期期末", "学年末総まとめ"};
const std::vector<std::string> kJitsuTests = {"第１回実力", "第２回実力", "第３回実力", "第４回実力", "第５回実力"};

void WriteTestNames(const fs::path &file, const std::vector<std::string> &names) {
    std::vector<Sheet> sheets;
    for (int g = 1; g <= 3; ++g) {
        Sheet s{std::string(dorv::NenSheetNames[g - 1])};
        s.Width(0, 24);
        for (int t = 0; t < 5; ++t) s.Text(t, 0, names[t]);
        sheets.push_back(std::move(s));
    }
    WriteBook(file, std::move(sheets));
}

void WriteKurasuSu(const fs::path &kihon) {
    Sheet s("KurasuSu");
    s.Headings({"学年", "クラス数"});
    for (int g = 1; g <= 3; ++g) {
        s.Text(g, 0, std::string(dorv::GakunenFolders[g]));
        s.Number(g, 1, kClasses[g]);
    }
    WriteBook(kihon / "KurasuSu.xls", {s});
}

// Viewpoint labels by subject: five for 国語, four for every other subject.
const std::vector<std::vector<std::string>> kKanten = {
    {"国語への関心・意欲・態度", "話す・聞く能力", "書く能力", "読む能力", "言語についての知識・理解・技能"},
    {"社会的事象への関心・意欲・態度", "社会的な思考・判断・表現", "資料活用の技能", "社会的事象についての知識・理解"},
    {"数学への関心・意欲・態度", "数学的な見方や考え方", "数学的な技能", "数量や図形などについての知識・理解"},
    {"自然事象への関心・意欲・態度", "科学的な思考・表現", "観察・実験の技能", "自然事象についての知識・理解"},
    {"コミュニケーションへの関心・意欲・態度", "外国語表現の能力", "外国語理解の能力",
     "言語や文化についての知識・理解"},
    {"音楽への関心・意欲・態度", "音楽表現の創意工夫", "音楽表現の技能", "鑑賞の能力"},
    {"美術への関心・意欲・態度", "発想や構想の能力", "創造的な技能", "鑑賞の能力"},
    {"運動や健康・安全への関心・意欲・態度", "運動や健康・安全についての思考・判断", "運動の技能",
     "運動や健康・安全についての知識・理解"},
    {"生活や技術への関心・意欲・態度", "生活を工夫し創造する能力", "生活の技能", "生活や技術についての知識・理解"},
};
const std::vector<std::vector<std::string>> kYourokuKanten = {
    {"知識・技能", "思考・判断・表現（話す・聞く）", "思考・判断・表現（書く）", "思考・判断・表現（読む）",
     "主体的に学習に取り組む態度"},
    {"知識・技能", "思考・判断・表現", "資料活用の技能", "主体的に学習に取り組む態度"},
    {"知識・技能", "数学的な見方・考え方", "思考・判断・表現", "主体的に学習に取り組む態度"},
    {"知識・技能", "科学的な思考・表現", "観察・実験の技能", "主体的に学習に取り組む態度"},
    {"知識・技能", "思考・判断・表現", "外国語理解の能力", "主体的に学習に取り組む態度"},
    {"知識・技能", "思考・判断・表現", "鑑賞の能力", "主体的に学習に取り組む態度"},
    {"知識・技能", "思考・判断・表現", "鑑賞の能力", "主体的に学習に取り組む態度"},
    {"知識・技能", "思考・判断・表現", "運動の技能", "主体的に学習に取り組む態度"},
    {"知識・技能", "思考・判断・表現", "生活の技能", "主体的に学習に取り組む態度"},
};

void WriteKanten(const fs::path &file, const std::vector<std::vector<std::string>> &labels) {
    std::vector<Sheet> sheets;
    for (int j = 0; j < 9; ++j) {
        Sheet s{std::string(dorv::KyokaSheetNames[j])};
        s.Width(0, 40);
        for (std::size_t i = 0; i < labels[j].size(); ++i) s.Text(static_cast<int>(i), 0, labels[j][i]);
        sheets.push_back(std::move(s));
    }
    WriteBook(file, std::move(sheets));
}

// ---- Grade workbooks -------------------------------------------------------------

Sheet RosterSheet() {
    Sheet s("Data");
    s.Headings({"番号", "氏名", "性別"});
    s.Width(1, 16);
    return s;
}

void WriteRoster(const fs::path &file, int grade, const Roster &roster) {
    Sheet s = RosterSheet();
    StudentNumbers(s, grade);
    for (int r = 1; r <= dorv::kSlots; ++r) {
        if (roster[r].name.empty()) continue;
        s.Text(r, 1, roster[r].name);
        s.Text(r, 2, roster[r].girl ? "女" : "男");
    }
    WriteBook(file, {s});
}

// A regular test (eleven columns: 技家 and its halves 技術, 家庭) or a
// proficiency test (five columns); `filled` false gives the empty workbook
// a test has before its scores are entered.
void WriteScores(const fs::path &file, int grade, const Roster &roster, const std::vector<double> &ability,
                 bool regular, bool filled, Dice &dice) {
    Sheet s("Data");
    const int columns = regular ? 11 : 5;
    s.Headings(SubjectHeadings(columns));
    StudentNumbers(s, grade);
    if (filled) {
        for (int r = 1; r <= dorv::kSlots; ++r) {
            if (roster[r].name.empty()) continue;
            const bool absent = dice.Chance(3);  // absent from the whole test: no cells
            if (absent) continue;
            for (int j = 0; j < (regular ? 8 : 5); ++j) s.Number(r, 1 + j, Score(dice, ability[r], 100));
            if (regular) {
                const int gijutsu = Score(dice, ability[r], 50);
                const int katei = Score(dice, ability[r], 50);
                s.Number(r, 9, gijutsu + katei);
                s.Number(r, 10, gijutsu);
                s.Number(r, 11, katei);
            }
        }
    }
    WriteBook(file, {s});
}

// Sheet "Data" with the ratings, then one viewpoint sheet per subject in
// subject order. Subjects outside `filledSubjects` are still to be entered.
void WriteRatings(const fs::path &file, int grade, const Roster &roster, const std::vector<double> &ability,
                  const std::vector<int> &filledSubjects, Dice &dice) {
    std::vector<Sheet> sheets;
    Sheet data("Data");
    data.Headings(SubjectHeadings(9));
    StudentNumbers(data, grade);
    sheets.push_back(std::move(data));
    for (int j = 0; j < 9; ++j) {
        Sheet s{std::string(dorv::KyokaSheetNames[j])};
        s.Headings({"番号", "観点1", "観点2", "観点3", "観点4", "観点5", "観点6"});
        StudentNumbers(s, grade);
        sheets.push_back(std::move(s));
    }
    for (int j : filledSubjects) {
        const int viewpoints = j == 0 ? 5 : 4;
        for (int r = 1; r <= dorv::kSlots; ++r) {
            if (roster[r].name.empty()) continue;
            sheets[0].Number(r, 1 + j, Rating(dice, ability[r]));
            for (int i = 1; i <= viewpoints; ++i) sheets[1 + j].Text(r, i, std::string(1, Viewpoint(dice, ability[r])));
        }
    }
    WriteBook(file, std::move(sheets));
}

void WriteMarks(const fs::path &file, int grade, const Roster &roster, const std::vector<double> &ability, bool filled,
                Dice &dice) {
    Sheet s("Data");
    s.Headings(SubjectHeadings(9));
    StudentNumbers(s, grade);
    if (filled)
        for (int r = 1; r <= dorv::kSlots; ++r)
            if (!roster[r].name.empty())
                for (int j = 0; j < 9; ++j) s.Number(r, 1 + j, Rating(dice, ability[r]));
    WriteBook(file, {s});
}

// The export's conversion workbook: nine subject sheets with their headings.
void WriteConversion(const fs::path &file) {
    std::vector<Sheet> sheets;
    for (int j = 0; j < 9; ++j) {
        Sheet s{std::string(dorv::KyokaSheetNames[j])};
        const int viewpoints = j == 0 ? 5 : 4;
        std::vector<std::string> h = {"番号"};
        for (int i = 1; i <= viewpoints; ++i) h.push_back("観点" + std::to_string(i));
        h.emplace_back("評定");
        s.Headings(h);
        sheets.push_back(std::move(s));
    }
    WriteBook(file, std::move(sheets));
}

constexpr std::uint32_t kSeed = 20260410;

std::uint32_t SeedOfTest(int grade, bool regular, int test) {
    return kSeed + static_cast<std::uint32_t>(grade * 100 + (regular ? 0 : 10) + test + 1);
}

void WriteGrade(const fs::path &data, int grade, bool firstTestsOnly, Dice &dice) {
    const fs::path folder = data / std::string(dorv::GakunenFolders[grade]);
    fs::create_directories(folder / "変換");
    const Roster roster = MakeRoster(dice, grade);
    const std::vector<double> ability = Abilities(dice, roster);

    WriteRoster(folder / "名簿.xls", grade, roster);
    // The tests after the first two regular ones and the first proficiency
    // one roll dice of their own: the school's sequence, and so every other
    // workbook, stays the same whether they are filled or not.
    for (int t = 0; t < 5; ++t) {
        Dice own(SeedOfTest(grade, true, t));
        const bool first = t < 2;
        WriteScores(folder / (kTeikiTests[t] + ".xls"), grade, roster, ability, true, first || !firstTestsOnly,
                    first ? dice : own);
    }
    for (int t = 0; t < 5; ++t) {
        Dice own(SeedOfTest(grade, false, t));
        const bool first = t < 1;
        WriteScores(folder / (kJitsuTests[t] + ".xls"), grade, roster, ability, false, first || !firstTestsOnly,
                    first ? dice : own);
    }
    // Term 1 complete; in term 2 the teachers of 国語 and 数学 have entered
    // theirs; term 3 and the register are still empty.
    const std::vector<std::vector<int>> ratedSubjects = {{}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 2}, {}};
    for (int term = 1; term <= 3; ++term)
        WriteRatings(folder / (std::string(dorv::HyoteiFileNames[term]) + ".xls"), grade, roster, ability,
                     ratedSubjects[term], dice);
    WriteRatings(folder / "指導要録評定.xls", grade, roster, ability, {}, dice);
    for (int term = 1; term <= 3; ++term)
        WriteMarks(folder / (std::string(dorv::NaishinFileNames[term]) + ".xls"), grade, roster, ability, term == 1,
                   dice);
    for (int term = 1; term <= 3; ++term)
        WriteConversion(folder / "変換" / (std::string(dorv::HyoteiFileNames[term]) + ".xls"));
    WriteConversion(folder / "変換" / "指導要録評定.xls");
}

}  // namespace

constexpr const char *kUsageLine = "usage: dorv-sample-school [--first-tests-only] DRIVE_FOLDER\n";
constexpr const char *kHelp =
    "\n"
    "Writes a small sample school into DRIVE_FOLDER/Dorv/Data/: the master\n"
    "workbooks of Kihon, the roster template and, for each of the three grades,\n"
    "the roster, the scores of every test, the ratings and the school-report\n"
    "marks. Set the drive of Dorv.INI to DRIVE_FOLDER to open it in the programs.\n"
    "\n"
    "  --first-tests-only  only the first two regular tests and the first\n"
    "                      proficiency test have scores, as early in a school year\n"
    "  -h, --help          print this help and exit\n";

int WrongCommandLine() {
    std::fputs(kUsageLine, stderr);
    return 2;
}

int main(int argc, char **argv) {
    bool firstTestsOnly = false;
    std::vector<std::string> folders;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsageLine, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg == "--first-tests-only") {
            firstTestsOnly = true;
        } else if (arg.starts_with('-')) {
            // No folder named like an option: a mistyped option would write
            // a school where nobody looks for it.
            std::fprintf(stderr, "dorv-sample-school: オプション %s はありません\n", arg.c_str());
            return WrongCommandLine();
        } else {
            folders.push_back(arg);
        }
    }
    if (folders.size() != 1) return WrongCommandLine();
    try {
        const fs::path data = fs::path(folders[0]) / std::string(dorv::RootFolder) / std::string(dorv::DataFolder);
        const fs::path kihon = data / std::string(dorv::KihonFolder);
        fs::create_directories(kihon);

        WriteShokuin(kihon);
        WriteTestNames(kihon / "TeikiTestName.xls", kTeikiTests);
        WriteTestNames(kihon / "JitsuTestName.xls", kJitsuTests);
        WriteKurasuSu(kihon);
        WriteKanten(kihon / "KantenKoumoku.xls", kKanten);
        WriteKanten(kihon / "YourokuKantenKoumoku.xls", kYourokuKanten);
        WriteBook(data / "雛形-名簿.xls", {RosterSheet()});

        Dice dice(kSeed);
        for (int g = 1; g <= 3; ++g) WriteGrade(data, g, firstTestsOnly, dice);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "dorv-sample-school: %s\n", e.what());
        return 1;
    }
    return 0;
}
