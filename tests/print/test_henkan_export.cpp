// The conversion workbook export: exactly the expected rows on each of the
// nine subject sheets, read back by python3-xlrd and by our own reader, on
// a workbook of our writer and on one that LibreOffice wrote; gaps in a
// class, shorter lists emptying what an earlier export left, and refused
// workbooks left byte for byte as they were.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../workbook/biff8_test_support.h"
#include "print/export/henkan_export.h"
#include "schooldata/access.h"
#include "schooldata/excel_service.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/settings.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;
using testing::CellKey;
using testing::MapDiff;
using testing::ReadBytes;
using testing::TempDir;
using testing::XlrdCell;

constexpr const char *kSubjectSheets[9] = {"Kokugo", "Shakai",  "Sugaku", "Rika", "Eigo",
                                           "Ongaku", "Bijutsu", "Hotai",  "Gika"};

fs::path LibreOfficeWorkbook() {
    const char *s = std::getenv("DORV_SOURCE_DIR");
    return fs::path(s ? s : ".") / "tests/print/export_fixtures/conversion-libreoffice.xls";
}

// A conversion workbook of our own writer: the nine subject sheets with
// headings, an earlier export of 40 students in class 1 with a remark in
// the column after the rating, and a notes sheet after them. `without`
// leaves one subject sheet out.
biff8::WorkbookModel FreshWorkbook(const std::string &without = "") {
    biff8::WorkbookModel book;
    auto text = [](std::string t) {
        biff8::ModelCell c;
        c.text = std::move(t);
        return c;
    };
    auto number = [](double v) {
        biff8::ModelCell c;
        c.isNumber = true;
        c.number = v;
        return c;
    };
    for (int j = 0; j < 9; ++j) {
        if (without == kSubjectSheets[j]) continue;
        biff8::ModelSheet s;
        s.name = kSubjectSheets[j];
        const int m = HenkanViewpoints(j);
        s.cells[{0, 0}] = text("番号");
        for (int i = 1; i <= m; ++i) s.cells[{0, static_cast<std::uint16_t>(i)}] = text("観点" + std::to_string(i));
        s.cells[{0, static_cast<std::uint16_t>(m + 1)}] = text("評定");
        for (int n = 1; n <= 40; ++n) {
            const auto r = static_cast<std::uint16_t>(n);
            s.cells[{r, 0}] = number(100 + n);
            for (int i = 1; i <= m; ++i) s.cells[{r, static_cast<std::uint16_t>(i)}] = text("C");
            s.cells[{r, static_cast<std::uint16_t>(m + 1)}] = number(3);
        }
        s.cells[{5, static_cast<std::uint16_t>(m + 2)}] = text("転出予定");
        // Below the last student row: never the export's.
        s.cells[{kHenkanLastRow, 0}] = text("欄外");
        book.sheets.push_back(std::move(s));
    }
    biff8::ModelSheet memo;
    memo.name = "Memo";
    memo.cells[{0, 0}] = text("Kokugo");
    memo.cells[{1, 1}] = number(7);
    book.sheets.push_back(std::move(memo));
    return book;
}

// One student's values in every subject, from a few rules that give
// ratings, letters and empty values in changing places.
void FillStudent(THyoteiData &d, int slot) {
    for (int k = 1; k <= 9; ++k) {
        THyoteiRec &rec = d.Hyotei[slot][k];
        rec.Rating = (slot + k) % 7 == 0 ? THyoteiData::kEmpty : static_cast<std::uint8_t>(1 + (slot + k) % 5);
        for (int i = 1; i <= 6; ++i)
            rec.Kanten[i] =
                (slot * i + k) % 5 == 0 ? THyoteiData::kEmpty : static_cast<std::uint8_t>("ABC"[(slot + i + k) % 3]);
    }
}

struct ExpectedRow {
    int code;
    int slot;
};

// What each subject sheet must hold after an export of `rows`, as xlrd
// and as our reader see it, given the workbook before.
struct Expected {
    std::map<CellKey, XlrdCell> xlrd;
    std::map<CellKey, std::string> reader;
};

std::string MarkOrDash(std::uint8_t b) { return b == THyoteiData::kEmpty ? "-" : std::string(1, static_cast<char>(b)); }

Expected ExpectAfter(const testing::XlrdBook &beforeXlrd, const testing::ReaderBook &beforeReader, const THyoteiData &d,
                     const std::vector<ExpectedRow> &rows) {
    Expected e;
    std::map<std::string, int> sheetIndex;
    for (std::size_t s = 0; s < beforeXlrd.sheets.size(); ++s) sheetIndex[beforeXlrd.sheets[s]] = static_cast<int>(s);
    auto exported = [&](const CellKey &k) {
        const auto [s, r, c] = k;
        for (int j = 0; j < 9; ++j)
            if (sheetIndex.count(kSubjectSheets[j]) && sheetIndex[kSubjectSheets[j]] == s)
                return r >= 1 && r < kHenkanLastRow && c <= HenkanViewpoints(j) + 1;
        return false;
    };
    for (const auto &[k, v] : beforeXlrd.cells)
        if (v.type != "blank" && !exported(k)) e.xlrd[k] = v;
    for (const auto &[k, v] : beforeReader.cells)
        if (!v.empty() && !exported(k)) e.reader[k] = v;
    auto num = [](int n) { return XlrdCell{"n", std::to_string(n) + ".0"}; };
    for (int j = 0; j < 9; ++j) {
        const int s = sheetIndex.at(kSubjectSheets[j]);
        const int m = HenkanViewpoints(j);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int r = static_cast<int>(i) + 1;
            const THyoteiRec &rec = d.Hyotei[rows[i].slot][j + 1];
            e.xlrd[{s, r, 0}] = num(rows[i].code);
            e.reader[{s, r, 0}] = std::to_string(rows[i].code);
            for (int v = 1; v <= m; ++v) {
                e.xlrd[{s, r, v}] = XlrdCell{"s", MarkOrDash(rec.Kanten[v])};
                e.reader[{s, r, v}] = MarkOrDash(rec.Kanten[v]);
            }
            if (rec.Rating == THyoteiData::kEmpty) {
                e.xlrd[{s, r, m + 1}] = XlrdCell{"s", "-"};
                e.reader[{s, r, m + 1}] = "-";
            } else {
                e.xlrd[{s, r, m + 1}] = num(rec.Rating);
                e.reader[{s, r, m + 1}] = std::to_string(rec.Rating);
            }
        }
    }
    return e;
}

template <class V>
std::map<CellKey, V> WithoutEmpty(const std::map<CellKey, V> &cells, const std::function<bool(const V &)> &empty) {
    std::map<CellKey, V> out;
    for (const auto &[k, v] : cells)
        if (!empty(v)) out[k] = v;
    return out;
}

class ExportHenkan : public ::testing::Test {
protected:
    void SetUp() override {
        savedDrive_ = WorkDrive;
        WorkDrive = drive_.path().string();
        SelectedGrade = 2;
        SelectedTerm = 1;
        fs::create_directories(ConversionFolderPath(2));
    }
    void TearDown() override { WorkDrive = savedDrive_; }

    // Puts a workbook at the conversion path of the selection.
    fs::path Place(const std::function<void(const fs::path &)> &make, std::uint8_t isYouroku = 0) {
        const fs::path p = HenkanWorkbookPath(isYouroku);
        fs::create_directories(p.parent_path());
        make(p);
        return p;
    }
    static std::function<void(const fs::path &)> Fresh(const std::string &without = "") {
        return [without](const fs::path &p) { testing::WriteModel(p, FreshWorkbook(without)); };
    }
    static std::function<void(const fs::path &)> LibreOffice() {
        return [](const fs::path &p) { fs::copy_file(LibreOfficeWorkbook(), p, fs::copy_options::overwrite_existing); };
    }

    // Exports `d` and checks the whole workbook through both readers.
    void ExportAndCheck(const fs::path &p, THyoteiData &d, std::uint8_t classCount,
                        const std::vector<ExpectedRow> &rows) {
        const testing::XlrdBook beforeX = testing::ReadWithXlrd(p);
        const testing::ReaderBook beforeR = testing::ReadWithReader(p);
        ASSERT_TRUE(beforeX.ok) << beforeX.error;
        ASSERT_TRUE(beforeR.ok) << beforeR.error;
        for (int s = 1; s <= THyoteiData::kSlots; ++s) d.Modified[s] = 1;

        dorv::ExportHenkan(d, classCount);

        const Expected want = ExpectAfter(beforeX, beforeR, d, rows);
        const testing::XlrdBook afterX = testing::ReadWithXlrd(p);
        const testing::ReaderBook afterR = testing::ReadWithReader(p);
        ASSERT_TRUE(afterX.ok) << afterX.error;
        ASSERT_TRUE(afterR.ok) << afterR.error;
        EXPECT_EQ(afterX.sheets, beforeX.sheets);
        EXPECT_EQ(afterR.sheets, beforeR.sheets);
        const auto gotX = WithoutEmpty<XlrdCell>(afterX.cells, [](const XlrdCell &c) { return c.type == "blank"; });
        const auto gotR = WithoutEmpty<std::string>(afterR.cells, [](const std::string &t) { return t.empty(); });
        EXPECT_TRUE(gotX == want.xlrd) << "xlrd:" << MapDiff(gotX, want.xlrd);
        EXPECT_TRUE(gotR == want.reader) << "reader:" << MapDiff(gotR, want.reader);
        for (int s = 1; s <= THyoteiData::kSlots; ++s) ASSERT_EQ(d.Modified[s], 0) << "slot " << s;
    }

    TempDir drive_;
    std::string savedDrive_;
};

struct Roster {
    const char *what;
    std::uint8_t classCount;
    std::vector<std::pair<int, int>> students;  // (class, number) with a roster entry
    std::vector<int> codes;                     // the rows expected, in order
};

std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

std::vector<Roster> Rosters() {
    std::vector<Roster> out;
    {
        Roster r{"two full classes", 2, {}, {}};
        for (int n = 1; n <= 30; ++n) r.students.push_back({1, n});
        for (int n = 1; n <= 28; ++n) r.students.push_back({2, n});
        r.codes = Range(101, 130);
        for (int c : Range(201, 228)) r.codes.push_back(c);
        out.push_back(r);
    }
    {
        // Number 11 left the class: 112 still follows 110, and class 2
        // directly after it; class 4 lies beyond the grade's classes.
        Roster r{"a gap in a class", 3, {}, {}};
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}) r.students.push_back({1, n});
        for (int n : {2, 3, 42}) r.students.push_back({2, n});
        r.students.push_back({3, 1});
        r.students.push_back({4, 1});
        r.codes = {101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 112, 202, 203, 242, 301};
        out.push_back(r);
    }
    out.push_back({"the last slot of the tenth class", 10, {{10, 42}, {10, 1}}, {1001, 1042}});
    out.push_back({"no students at all", 3, {}, {}});
    return out;
}

TEST_F(ExportHenkan, EachSheetHoldsExactlyTheListedStudents) {
    const std::vector<std::pair<const char *, std::function<void(const fs::path &)>>> workbooks = {
        {"our writer", Fresh()}, {"LibreOffice", LibreOffice()}};
    for (const auto &[writer, make] : workbooks) {
        for (const Roster &roster : Rosters()) {
            SCOPED_TRACE(std::string(writer) + ": " + roster.what);
            const fs::path p = Place(make);
            THyoteiData d;
            std::vector<ExpectedRow> rows;
            for (auto [c, n] : roster.students) {
                d.Exists[SlotOf(c, n)] = 1;
                FillStudent(d, SlotOf(c, n));
            }
            for (int code : roster.codes) rows.push_back({code, SlotOf(code / 100, code % 100)});
            ExportAndCheck(p, d, roster.classCount, rows);
        }
    }
}

// The values of single students as the school sees them on the sheets.
TEST_F(ExportHenkan, MarksRatingsAndEmptyValues) {
    const fs::path p = Place(Fresh());
    THyoteiData d;
    for (int s = 1; s <= 3; ++s) d.Exists[s] = 1;
    auto marks = [](THyoteiRec &rec, int rating, const char *letters) {
        rec.Rating = static_cast<std::uint8_t>(rating);
        for (int i = 1; i <= 6; ++i)
            rec.Kanten[i] = letters[i - 1] == '.' ? 255 : static_cast<std::uint8_t>(letters[i - 1]);
    };
    for (int s = 1; s <= 3; ++s)
        for (int k = 1; k <= 9; ++k) marks(d.Hyotei[s][k], 255, "......");
    marks(d.Hyotei[1][1], 4, "AB.ABC");    // 国語: the sixth viewpoint is not exported
    marks(d.Hyotei[2][2], 255, "......");  // 社会 without anything
    marks(d.Hyotei[3][3], 2, "BBCCA.");    // 数学: the fifth viewpoint is not exported
    dorv::ExportHenkan(d, 1);

    const testing::XlrdBook x = testing::ReadWithXlrd(p);
    ASSERT_TRUE(x.ok) << x.error;
    auto row = [&](int sheet, int r, int cols) {
        std::string s;
        for (int c = 0; c < cols; ++c) {
            auto it = x.cells.find({sheet, r, c});
            s += (c ? " " : "") +
                 (it == x.cells.end() || it->second.type == "blank" ? std::string("_") : it->second.value);
        }
        return s;
    };
    struct Case {
        int sheet, row, cols;
        const char *want;
    };
    const Case cases[] = {
        {0, 1, 8, "101.0 A B - A B 4.0 _"}, {1, 2, 7, "102.0 - - - - - _"},        {2, 3, 7, "103.0 B B C C 2.0 _"},
        {2, 4, 7, "_ _ _ _ _ _ _"},         {0, 5, 9, "_ _ _ _ _ _ _ 転出予定 _"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(row(c.sheet, c.row, c.cols), c.want) << kSubjectSheets[c.sheet] << " row " << c.row + 1;
}

TEST_F(ExportHenkan, ShorterSecondExportEmptiesTheRowsBelow) {
    for (auto make : {Fresh(), LibreOffice()}) {
        const fs::path p = Place(make);
        // A full grade fills every row down to the last one.
        THyoteiData d;
        std::vector<ExpectedRow> rows;
        for (int s = 1; s <= THyoteiData::kSlots; ++s) {
            d.Exists[s] = 1;
            FillStudent(d, s);
            rows.push_back({(1 + (s - 1) / 42) * 100 + 1 + (s - 1) % 42, s});
        }
        ExportAndCheck(p, d, 10, rows);

        // Three students left class 1 and the other classes moved on.
        for (int s = 43; s <= THyoteiData::kSlots; ++s) d.Exists[s] = 0;
        d.Exists[SlotOf(1, 5)] = d.Exists[SlotOf(1, 6)] = d.Exists[SlotOf(1, 42)] = 0;
        rows.clear();
        for (int n = 1; n <= 41; ++n)
            if (n != 5 && n != 6) rows.push_back({100 + n, SlotOf(1, n)});
        ExportAndCheck(p, d, 10, rows);
    }
}

TEST_F(ExportHenkan, TermOrRegisterNamesTheWorkbook) {
    struct Case {
        std::uint8_t isYouroku;
        std::uint8_t grade, term;
        const char *file;
    };
    const Case cases[] = {
        {0, 2, 1, "２年生/変換/１学期評定.xls"},
        {0, 3, 3, "３年生/変換/３学期評定.xls"},
        {1, 1, 2, "１年生/変換/指導要録評定.xls"},
        {1, 3, 0, "３年生/変換/指導要録評定.xls"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        SelectedGrade = c.grade;
        SelectedTerm = c.term;
        EXPECT_EQ(HenkanWorkbookPath(c.isYouroku), DataFolderPath() + c.file);
        const fs::path p = Place(Fresh(), c.isYouroku);
        THyoteiData d;
        d.IsYouroku = c.isYouroku;
        d.Exists[1] = 1;
        FillStudent(d, 1);
        ExportAndCheck(p, d, 1, {{101, 1}});
    }
    SelectedGrade = 2;
    SelectedTerm = 0;
    EXPECT_EQ(HenkanWorkbookPath(0), "");
    SelectedGrade = 0;
    EXPECT_EQ(HenkanWorkbookPath(1), "");
}

TEST_F(ExportHenkan, RefusedWorkbookStaysByteForByteAndKeepsTheFlags) {
    struct Case {
        const char *what;
        std::function<void(const fs::path &)> make;  // null: no workbook
        std::string message;                         // after the path; "" when the message names no path
        std::uint8_t grade = 2;
    };
    const std::string missingSheet = " にシート「";
    const std::vector<Case> cases = {
        {"no conversion workbook", nullptr, " が見つかりません"},
        {"the first subject sheet missing", Fresh("Kokugo"), missingSheet + "Kokugo」がありません"},
        {"the last subject sheet missing", Fresh("Gika"), missingSheet + "Gika」がありません"},
        {"a sheet in the middle missing", Fresh("Rika"), missingSheet + "Rika」がありません"},
        {"read-only workbook",
         [](const fs::path &p) {
             testing::WriteModel(p, FreshWorkbook());
             ::chmod(p.c_str(), 0444);
         },
         " は読み取り専用のため書き込めません"},
        {"no grade selected", Fresh(), "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SelectedGrade = 2;
        const fs::path p = HenkanWorkbookPath(0);
        fs::remove(p);
        if (c.make) Place(c.make);
        const std::string before = c.make ? ReadBytes(p) : std::string();
        SelectedGrade = c.grade;

        THyoteiData d;
        for (int s = 1; s <= 60; ++s) {
            d.Exists[s] = 1;
            FillStudent(d, s);
            d.Modified[s] = 1;
        }
        std::string message;
        try {
            dorv::ExportHenkan(d, 2);
            ADD_FAILURE() << "no error";
        } catch (const ExcelError &e) {
            message = e.what();
        }
        if (c.grade == 0) {
            EXPECT_EQ(message, "学年または学期が選択されていません");
        } else if (std::string(c.what).find("read-only") != std::string::npos) {
            EXPECT_EQ(message, "ファイル " + p.string() + c.message);
        } else {
            EXPECT_EQ(message, "C4th変換を行えません。" + std::string(c.make ? "ブック " : "ファイル ") + p.string() +
                                   c.message);
        }
        EXPECT_EQ(fs::exists(p), c.make != nullptr);
        if (c.make) {
            EXPECT_TRUE(ReadBytes(p) == before) << "the workbook changed";
        }
        EXPECT_EQ(d.Modified[1], 1);
        EXPECT_EQ(d.Modified[60], 1);
        // Nothing was left beside it.
        std::set<std::string> names;
        for (const auto &e : fs::directory_iterator(p.parent_path())) names.insert(e.path().filename().string());
        EXPECT_EQ(names, c.make ? std::set<std::string>{p.filename().string()} : std::set<std::string>{});
        ::chmod(p.c_str(), 0644);
    }
}

}  // namespace
}  // namespace dorv
