#include "roster/roster_save.h"

#include "roster/file_helpers.h"
#include "schooldata/access.h"
#include "schooldata/name_data.h"
#include "workbook/cp932.h"

namespace dorv {
namespace {

std::string sexText(std::uint8_t sex) {
    if (sex == TNameData::kSexBoy) return "男";
    if (sex == TNameData::kSexGirl) return "女";
    return "";
}

}  // namespace

void SaveMeibo(TNameData &data, std::uint8_t classCount) {
    const std::string path = data.MeiboPath();
    if (IsReadOnlyFile(path)) throw RosterFileError("ファイル " + path + " は読み取り専用のため保存できません");

    SaveWorkbook(path, [&](ServiceSession &session) {
        TExcelWorksheet &sheet = session.Sheet("Data");
        ForEachModifiedSlot(data.Modified, classCount, [&](int slot) {
            const auto row = static_cast<unsigned>(slot + 1);
            // A name that loaded cut short is never written back over the
            // full one; an edit of the row clears its mark.
            if (!data.Cut[slot])
                sheet.WriteText(CellAddress(1, row), cp932::cut(data.Names[slot], TNameData::kNameBytes));
            sheet.WriteText(CellAddress(2, row), sexText(data.Sex[slot]));
        });
    });
}

}  // namespace dorv
