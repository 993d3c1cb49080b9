// Every entry form saved while another teacher's program holds its
// workbook, with each action a teacher can take during the wait (each
// button, Escape, Enter, typing, a click into the grid, the window
// manager's close): nothing of it reaches the form, the save writes exactly
// what was typed before it, and the form closes afterwards as it would have.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "dialogs/DorvSelectJitsu.h"
#include "dialogs/DorvSelectTeiki.h"
#include "held_lock.h"
#include "hyotei_form_fixture.h"
#include "input/DorvInputHyotei.h"
#include "input/DorvInputJitsu.h"
#include "input/DorvInputNaishin.h"
#include "input/DorvInputTeiki.h"
#include "input/DorvInputYouroku.h"
#include "input/DorvSelectNaishin.h"
#include "records_cells.h"
#include "save_wait.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/kanten_data.h"
#include "soten_form_fixture.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;
using testing::CellMap;
using testing::Opening;
using testing::ReaderCells;

std::string bytesOf(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void realClick(QAbstractButton &button) { QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center()); }

// One entry form and how a teacher opens it, types into it and saves it.
struct EntryForm {
    const char *name;
    Form &form;
    fs::path workbook;
    std::function<Opening(const std::function<void()> &steps)> open;
    std::function<void()> type;  // inside the open form, before the save
    QAbstractButton &save;
    std::function<bool()> dataFreed;
};

// An opening through the form's selection dialog, with the school's usual choice.
template <typename Dialog>
std::function<Opening(const std::function<void()> &)> openingThrough(Form &form, Dialog &dialog,
                                                                     void (*choose)(Dialog &)) {
    return [&form, &dialog, choose](const std::function<void()> &steps) {
        return testing::OpenWith(
            form, dialog, [&dialog, choose] { choose(dialog); }, steps);
    };
}

// Two rows of a rating form typed from the first student on.
std::function<void()> typeRatings(TfrmDorvInputHyoteiForm &f, const char *first, const char *second) {
    return [&f, first, second] {
        f.sgrInput->setCurrentCell(3, 1);
        testing::TypeAndEnter(*f.edtInput, first);
        testing::TypeAndEnter(*f.edtInput, second);
    };
}

// The save undisturbed gives the cells every disturbed one must give.
void SavesWhateverTheTeacherDoesDuringTheWait(const EntryForm &e, testing::RecordingServices &boxes) {
    SCOPED_TRACE(e.name);
    const std::string original = bytesOf(e.workbook);
    const CellMap before = ReaderCells(e.workbook);
    std::vector<testing::UserAction> actions;
    const Opening undisturbed = e.open([&] {
        e.type();
        actions = testing::UserActionsOn(e.form);
        realClick(e.save);
    });
    ASSERT_TRUE(undisturbed.opened);
    const CellMap saved = ReaderCells(e.workbook);
    ASSERT_NE(saved, before);  // the typing reached the workbook
    ASSERT_GE(actions.size(), 7u);

    for (const testing::UserAction &action : actions) {
        SCOPED_TRACE(action.name);
        writeBytes(e.workbook, original);
        boxes.errors.clear();
        boxes.messages.clear();
        testing::WaitRun run;
        bool closed = false;
        const Opening o = e.open([&] {
            e.type();
            testing::LockHeldElsewhere lock(e.workbook.string());
            run = testing::SaveThroughAWait(
                *frmWait, lock, [&] { realClick(e.save); }, [&] { action.act(e.form); });
            closed = !e.form.isVisible();
        });
        ASSERT_TRUE(o.opened);
        EXPECT_TRUE(run.waited);
        EXPECT_TRUE(run.actedInside);
        EXPECT_EQ(run.notice, QString::fromStdString(e.workbook.filename().string()) + " が空くのを待っています");
        EXPECT_TRUE(closed);
        EXPECT_TRUE(boxes.errors.isEmpty()) << boxes.errors.join("|").toStdString();
        EXPECT_TRUE(boxes.messages.isEmpty()) << boxes.messages.join("|").toStdString();
        EXPECT_FALSE(frmWait->isVisible());
        EXPECT_EQ(ReaderCells(e.workbook), saved);
        EXPECT_TRUE(e.dataFreed());
    }
}

class SaveWaits : public ::testing::Test {
protected:
    void SetUp() override { SetRetryTiming({std::chrono::milliseconds(10), std::chrono::milliseconds(10000)}); }
    void TearDown() override { SetRetryTiming({}); }
};

TEST_F(SaveWaits, RawScoreForms) {
    testing::SotenSchool school;
    school.setTeacher(2);  // 数学 has both kinds of test
    school.setRoster({{1, "青木一郎", "男"}, {2, "井上花子", "女"}, {43, "加藤愛", "女"}});
    testing::WriteXls(school.regular(), {{"Data", {{"A1", "番号"}, {"B2", "70"}, {"D2", "55"}, {"D44", "40"}}}});
    testing::WriteXls(school.proficiency(), {{"Data", {{"A1", "番号"}, {"B2", "33"}, {"D3", "20"}}}});
    TfrmDorvInputTeiki teiki;
    TfrmDorvInputJitsu jitsu;
    const auto typeInto = [](TfrmDorvInputSoten &f) {
        return [&f] {
            f.sgrInput->setRow(1);  // each opening starts where the last one ended
            testing::TypeAndEnter(f, "81");
            testing::TypeAndEnter(f, "64");
        };
    };
    const auto freed = [] { return CurSotenData == nullptr; };
    SavesWhateverTheTeacherDoesDuringTheWait(
        {"定期テスト", teiki, school.regular(),
         [&](const std::function<void()> &steps) { return testing::OpenForm(teiki, *school.selectTeiki, steps); },
         typeInto(teiki), *teiki.btnClose, freed},
        school.boxes);
    SavesWhateverTheTeacherDoesDuringTheWait(
        {"実力テスト", jitsu, school.proficiency(),
         [&](const std::function<void()> &steps) { return testing::OpenForm(jitsu, *school.selectJitsu, steps); },
         typeInto(jitsu), *jitsu.btnClose, freed},
        school.boxes);
}

TEST_F(SaveWaits, RatingRegisterAndSchoolReportForms) {
    testing::RatingSchool school;
    school.setKanten(TKantenData::kTermWorkbook, {{2, {"関心", "考え方", "表現", "知識"}}});
    school.setKanten(TKantenData::kRegisterWorkbook, {{2, {"考え方", "知識"}}});
    school.writeRatings(school.term(), {{"Data!B2", "4"}, {"Sugaku!B3", "B"}, {"Data!D3", "3"}});
    school.writeRatings(school.youroku(), {{"Data!D2", "4"}, {"Sugaku!B2", "A"}});
    testing::WriteXls(school.naishin(), {{"Data", {{"A1", "番号"}, {"B2", "3"}, {"D3", "2"}, {"D45", "4"}}}});
    TfrmDorvInputHyotei term;
    TfrmDorvInputYouroku reg;
    TfrmDorvInputNaishin naishin;
    const auto freedRatings = [] { return CurHyoteiData == nullptr; };
    SavesWhateverTheTeacherDoesDuringTheWait(
        {"評定", term, school.term(), openingThrough(term, *school.selectHyotei, &testing::ChooseTerm),
         typeRatings(term, "5AABA", "3BBCB"), *term.btnClose, freedRatings},
        school.boxes);
    SavesWhateverTheTeacherDoesDuringTheWait(
        {"指導要録", reg, school.youroku(), openingThrough(reg, *school.selectGakunen, &testing::ChooseGrade),
         typeRatings(reg, "0BC", "2AA"), *reg.btnClose, freedRatings},
        school.boxes);
    SavesWhateverTheTeacherDoesDuringTheWait(
        {"内申", naishin, school.naishin(), openingThrough(naishin, *school.selectNaishin, &testing::ChooseNaishin),
         [&] {
             naishin.sgrInputNaishin->setRow(1);
             testing::TypeAndEnter(*naishin.edtInputNaishin, "5");
             testing::TypeAndEnter(*naishin.edtInputNaishin, "1");
         },
         *naishin.btnClose, [] { return CurNaishinData == nullptr; }},
        school.boxes);
}

}  // namespace
}  // namespace dorv
