#include "schooldata/teachers.h"

#include "schooldata/access.h"
#include "schooldata/convert.h"
#include "schooldata/settings.h"

namespace dorv {

namespace {
constexpr std::size_t kStaffNoBytes = 6;
constexpr std::size_t kNameBytes = 14;
constexpr unsigned kFirstTaughtCol = 4;  // E
constexpr int kTaughtClasses = 27;       // E..AE
}  // namespace

std::string TTeachers::ShokuinPath() { return KihonFilePath("Shokuin.xls"); }

void TTeachers::Clear() {
    for (TTeacherRec &rec : Teacher) rec = TTeacherRec{};
}

void TTeachers::ReadShokuinCell(unsigned sheetNo, unsigned row, unsigned col, const std::string &data) {
    if (row < 1 || row > kRecords || sheetNo > 1) return;
    TTeacherRec &rec = Teacher[row];
    if (col == 0) {
        if (!data.empty()) rec.StaffNo = CutBytes(data, kStaffNoBytes);
    } else if (col == 1) {
        if (!data.empty()) rec.TeacherName = CutBytes(data, kNameBytes);
    } else if (col == 2) {
        rec.Kyoka = KyokaFromText(data, true);
    } else if (col == 3) {
        TTeacherClass homeroom = ClassFromCell(data, true);
        rec.TeacherClass[0].Grade = homeroom.Grade;
        rec.TeacherClass[0].ClassNo = homeroom.ClassNo;
    } else if (col >= kFirstTaughtCol && col < kFirstTaughtCol + kTaughtClasses) {
        rec.TeacherClass[col - kFirstTaughtCol + 1] = ClassFromCell(data, false);
    }
}

void TTeachers::LoadShokuin() {
    LoadPlan plan;
    plan.path = ShokuinPath();
    plan.kind = WorkbookKind::Master;
    plan.clear = [&] { Clear(); };
    plan.onReadCell = [&](unsigned s, unsigned row, unsigned col, const std::string &d) {
        ReadShokuinCell(s, row, col, d);
    };
    plan.service = [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("Meibo");
        for (unsigned w = 2; w <= kRecords + 1; ++w) {
            TTeacherRec &rec = Teacher[w - 1];
            rec.StaffNo = CutBytes(sheet.ReadCell(CellAddress(0, w)), kStaffNoBytes);
            rec.TeacherName = CutBytes(sheet.ReadCell(CellAddress(1, w)), kNameBytes);
            rec.Kyoka = KyokaFromText(sheet.ReadCell(CellAddress(2, w)), false);
            rec.TeacherClass[0] = ClassFromCell(sheet.ReadCell(CellAddress(3, w)), true);
            for (int k = 1; k <= kTaughtClasses; ++k) {
                std::string text = sheet.ReadCell(CellAddress(kFirstTaughtCol + k - 1, w));
                rec.TeacherClass[k] = ClassFromCell(text, false);
                if (text.empty()) break;
            }
            if (rec.StaffNo.empty()) break;
        }
    };
    LoadWorkbook(plan);
}

std::uint8_t TTeachers::IndexOfStaffNo(std::int32_t staffNo) const {
    // A login without digits (0) is nobody; the first record without a staff
    // number ends the list.
    if (staffNo == 0) return 0;
    for (int i = 1; i <= kRecords; ++i) {
        const std::string &no = Teacher[i].StaffNo;
        if (no.empty()) return 0;
        std::size_t first = no.find_first_not_of(" \t");
        bool startsWithDigit = first != std::string::npos && no[first] >= '0' && no[first] <= '9';
        if (startsWithDigit && StaffNumberValue(no) == staffNo) return static_cast<std::uint8_t>(i);
    }
    return 0;
}

}  // namespace dorv
