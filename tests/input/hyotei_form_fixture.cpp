#include "hyotei_form_fixture.h"

#include "desktop/form.h"
#include "desktop/radio_group.h"
#include "desktop/string_grid.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "input/DorvSelectNaishin.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"

#include <QImage>
#include <QPushButton>

#include <tuple>

namespace dorv::testing {

RatingSchool::RatingSchool() : EntrySchool(2) {
    selectHyotei = std::make_unique<TfrmSelectHyotei>();
    selectGakunen = std::make_unique<TfrmSelectGakunen>();
    selectNaishin = std::make_unique<TfrmSelectNaishin>();
    frmSelectHyotei = selectHyotei.get();
    frmSelectGakunen = selectGakunen.get();
    frmSelectNaishin = selectNaishin.get();
    SelectedGrade = 1;
    SelectedTerm = 1;

    SheetSpec roster{"Data", {{"A1", "番号"}, {"B1", "氏名"}, {"C1", "性別"}}};
    const std::vector<std::tuple<int, std::string, std::string>> students = {
        {1, "青木一郎", "男"}, {2, "井上花子", "女"}, {4, "上田健", "男"}, {5, "江藤由美", "女"},
        {6, "大野翔", "男"},   {43, "加藤愛", "女"},  {44, "木村拓", "男"}};
    for (const auto &[slot, name, sex] : students) {
        roster.cells.push_back({"B" + std::to_string(slot + 1), name});
        roster.cells.push_back({"C" + std::to_string(slot + 1), sex});
    }
    WriteXls(folder.Grade(kGrade, "名簿.xls"), {roster});
}

RatingSchool::~RatingSchool() {
    frmSelectHyotei = nullptr;
    frmSelectGakunen = nullptr;
    frmSelectNaishin = nullptr;
}

void RatingSchool::setKanten(const std::string &workbook, const std::map<int, std::vector<std::string>> &labels) const {
    std::vector<SheetSpec> book;
    for (int s = 0; s < 9; ++s) {
        SheetSpec sheet{std::string(KyokaSheetNames[static_cast<std::size_t>(s)])};
        if (const auto it = labels.find(s); it != labels.end())
            for (std::size_t i = 0; i < it->second.size(); ++i)
                if (!it->second[i].empty()) sheet.cells.push_back({"A" + std::to_string(i + 1), it->second[i]});
        book.push_back(sheet);
    }
    WriteXls(folder.Kihon(workbook), book);
}

void RatingSchool::writeRatings(const std::filesystem::path &path,
                                const std::map<std::string, std::string> &cells) const {
    std::vector<SheetSpec> book{{"Data", {{"A1", "番号"}}}};
    for (int s = 0; s < 9; ++s) book.push_back({std::string(KyokaSheetNames[static_cast<std::size_t>(s)])});
    for (const auto &[where, text] : cells) {
        const auto bang = where.find('!');
        for (SheetSpec &sheet : book)
            if (sheet.name == where.substr(0, bang)) {
                // Marks are letters; a digit there is still a text.
                if (sheet.name == "Data") sheet.cells.push_back({where.substr(bang + 1), text});
                else sheet.texts.push_back({where.substr(bang + 1), text});
            }
    }
    WriteXls(path, book);
}

void ChooseTerm(TfrmSelectHyotei &dialog) {
    dialog.grid->setCurrentCell(RatingSchool::kGrade - 1, RatingSchool::kTerm);
    dialog.btnOK->click();
}

void ChooseGrade(TfrmSelectGakunen &dialog) {
    dialog.rgrGakunen->setItemIndex(RatingSchool::kGrade - 1);
    dialog.btnOK->click();
}

void ChooseNaishin(TfrmSelectNaishin &dialog) {
    dialog.grid->setCurrentCell(RatingSchool::kGrade - 1, RatingSchool::kTerm);
    dialog.btnOK->click();
}

int RedPixels(StringGrid &grid, int col, int row) {
    const QRect cell = grid.cellRect(col, row);
    if (cell.isEmpty()) return 0;
    const QImage image = grid.viewport()->grab().toImage();
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (const QColor c = image.pixelColor(x, y); c.red() - c.green() > 100 && c.red() - c.blue() > 100) ++n;
    return n;
}

}  // namespace dorv::testing
