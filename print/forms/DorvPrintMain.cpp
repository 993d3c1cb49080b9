#include "print/forms/DorvPrintMain.h"

#include "print/stats/calc_test.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "dialogs/DorvSelectJitsu.h"
#include "dialogs/DorvSelectTeiki.h"
#include "dialogs/DorvVersion.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kanten_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/teachers.h"
#include "schooldata/test_names.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <memory>

namespace dorv {

TfrmDorvPrint *frmDorvPrint = nullptr;

namespace {

const QColor kMaroon{128, 0, 0};
const QColor kOlive{128, 128, 0};
const QColor kWhite{255, 255, 255};

// The four button rows of the three columns: test things in rows 1 and 2,
// term and register things in rows 3 and 4.
constexpr int kRowTops[4] = {32, 72, 144, 208};

QGroupBox *column(QWidget *parent, const char *name, const QString &caption, int left, const QColor &face,
                  const QColor &captionColour) {
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(left, 16, 129, 257);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, face);
    p.setColor(QPalette::WindowText, captionColour);
    box->setPalette(p);
    return box;
}

QPushButton *rowButton(QGroupBox *box, const char *name, const QString &text, int row) {
    auto *b = new QPushButton(text, box);
    b->setObjectName(name);
    b->setGeometry(12, kRowTops[row - 1], 105, 33);
    SetUiFont(b, kMsPGothic, 16);
    // The column's face colour is not the button's.
    b->setPalette(QApplication::palette(b));
    return b;
}

// The selection a test dialog writes, put back when the computation for it
// fails: the globals must keep naming what the outputs show.
struct TestSelection {
    std::uint8_t grade = SelectedGrade;
    std::uint8_t test = SelectedTest;
    TTestId id = TestId;
    void restore() const {
        SelectedGrade = grade;
        SelectedTest = test;
        TestId = id;
    }
};

template <class T>
void Free(T *&object) {
    delete object;
    object = nullptr;
}

}  // namespace

TfrmDorvPrint::Loads TfrmDorvPrint::DefaultLoads() {
    return {
        [](TTeachers &teachers) { teachers.LoadShokuin(); },
        [](TTestNameSet &names) { names.LoadTestNames(); },
        [](TCalcTest &calc) { calc.Calculate(); },
    };
}

TfrmDorvPrint::TfrmDorvPrint(QWidget *parent) : Form(parent), loads_(DefaultLoads()) {
    setObjectName("frmDorvPrint");
    setBorder(Border::Dialog);
    setWindowTitle("Dorv成績処理－表示・印刷－　");
    setClientSize(447, 396);
    setBackground(colours::buttonFace());
    SetUiFont(this, kMsPGothic, 12);

    gbxSelectTest = column(this, "gbxSelectTest", "選択", 16, colours::aqua, palette().color(QPalette::WindowText));
    btnSelectTeiki = rowButton(gbxSelectTest, "btnSelectTeiki", "定期テスト", 1);
    btnSelectJitsu = rowButton(gbxSelectTest, "btnSelectJitsu", "実力テスト", 2);
    btnSelectHyotei = rowButton(gbxSelectTest, "btnSelectHyotei", "評定(学期)", 3);
    btnSelectYouroku = rowButton(gbxSelectTest, "btnSelectYouroku", "指導要録", 4);

    grbDisp = column(this, "grbDisp", "表示", 160, colours::teal, palette().color(QPalette::WindowText));
    btnDispDosu = rowButton(grbDisp, "btnDispDosu", "度数分布", 1);
    btnDispTutihyou = rowButton(grbDisp, "btnDispTutihyou", "評定", 3);
    btnDispYouroku = rowButton(grbDisp, "btnDispYouroku", "指導要録", 4);

    grbPrint = column(this, "grbPrint", "印刷", 304, kMaroon, kWhite);
    btnPrKojin = rowButton(grbPrint, "btnPrKojin", "個人票", 1);
    btnPrIchiran = rowButton(grbPrint, "btnPrIchiran", "一覧表", 2);
    btnPrKondan = rowButton(grbPrint, "btnPrKondan", "懇談資料", 3);
    btnHenkan = rowButton(grbPrint, "btnHenkan", "C4th変換", 4);

    lblShiji = new QLabel("まず、テストか評定(学期)を選んでください", this);
    lblShiji->setObjectName("lblShiji");
    SetUiFont(lblShiji, kMsPGothic, 16, false, true);
    {
        QPalette p = lblShiji->palette();
        p.setColor(QPalette::WindowText, kOlive);
        lblShiji->setPalette(p);
    }
    lblShiji->move(16, 292);
    lblShiji->adjustSize();

    btnVersion = new QPushButton("本ソフトについて", this);
    btnVersion->setObjectName("btnVersion");
    btnVersion->setGeometry(16, 348, 97, 25);
    SetUiFont(btnVersion, kMsPGothic, 10);

    btnClose = new QPushButton("終了", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(336, 344, 89, 33);
    SetUiFont(btnClose, kMsPGothic, 16);

    // Nothing is selected until the show step has run.
    disableOutputs();

    connect(btnSelectTeiki, &QPushButton::clicked, this, Guarded([this] { btnSelectTestClick(false); }, this));
    connect(btnSelectJitsu, &QPushButton::clicked, this, Guarded([this] { btnSelectTestClick(true); }, this));
    connect(btnSelectHyotei, &QPushButton::clicked, this, Guarded([this] { btnSelectRatingsClick(false); }, this));
    connect(btnSelectYouroku, &QPushButton::clicked, this, Guarded([this] { btnSelectRatingsClick(true); }, this));
    connect(btnDispDosu, &QPushButton::clicked, this, Guarded([this] { openModal(outputForms_.dispDosu); }, this));
    connect(btnDispTutihyou, &QPushButton::clicked, this,
            Guarded([this] { openModal(outputForms_.dispTutihyo); }, this));
    connect(btnDispYouroku, &QPushButton::clicked, this,
            Guarded([this] { openModal(outputForms_.dispYouroku); }, this));
    connect(btnPrKojin, &QPushButton::clicked, this, Guarded([this] { openModal(outputForms_.prKojin); }, this));
    connect(btnPrIchiran, &QPushButton::clicked, this, Guarded([this] { openModal(outputForms_.prIchiran); }, this));
    connect(btnPrKondan, &QPushButton::clicked, this, Guarded([this] { openModal(outputForms_.prKondan); }, this));
    connect(btnHenkan, &QPushButton::clicked, this, Guarded([this] { openModal(outputForms_.henkan); }, this));
    connect(btnVersion, &QPushButton::clicked, this, Guarded([this] { openModal(frmVersion); }, this));
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
}

TfrmDorvPrint::~TfrmDorvPrint() { freeDataObjects(); }

void TfrmDorvPrint::createDataObjects() {
    freeDataObjects();
    CurCalcTest = new TCalcTest;
    CurNameData = new TNameData;
    CurSotenData = new TSotenData;
    CurTeikiTestName = new TTeikiTestName;
    CurJitsuTestName = new TJitsuTestName;
    CurTeachers = new TTeachers;
    CurKurasuSuData = new TKurasuSuData;
    CurHyoteiData = new THyoteiData;
    CurKantenData = new TKantenData;
}

void TfrmDorvPrint::freeDataObjects() {
    Free(CurKantenData);
    Free(CurHyoteiData);
    Free(CurKurasuSuData);
    Free(CurTeachers);
    Free(CurJitsuTestName);
    Free(CurTeikiTestName);
    Free(CurSotenData);
    Free(CurNameData);
    Free(CurCalcTest);
}

void TfrmDorvPrint::disableOutputs() {
    for (QPushButton *b :
         {btnPrIchiran, btnPrKojin, btnDispDosu, btnDispTutihyou, btnPrKondan, btnDispYouroku, btnHenkan})
        b->setEnabled(false);
}

void TfrmDorvPrint::formShow() {
    closing_ = false;
    disableOutputs();
    // The objects exist before anything can fail, so that every handler of
    // the menu finds them.
    createDataObjects();
    BusyScope busy(frmWait);
    ReadSchoolInfo();
    ReadWorkDrive();
    setWindowTitle("Dorv成績処理－表示・印刷－　" + QString::fromStdString(SchoolName));
    busy.progress(0);
    busy.progress(50);
    GetLoginStaffNo();
    // A staff number missing from the list is no reason to refuse: the
    // dialogs only take their default grade from the teacher.
    TeacherIndex = 0;
    loads_.loadShokuin(*CurTeachers);
    TeacherIndex = LoginStaffNo == 0 ? 0 : CurTeachers->IndexOfStaffNo(LoginStaffNo);
    busy.progress(100);
}

void TfrmDorvPrint::btnSelectTestClick(bool proficiency) {
    TTestNameSet &names =
        proficiency ? static_cast<TTestNameSet &>(*CurJitsuTestName) : static_cast<TTestNameSet &>(*CurTeikiTestName);
    Form *dialog = proficiency ? static_cast<Form *>(frmSelectJitsu) : static_cast<Form *>(frmSelectTeiki);
    {
        BusyScope busy(frmWait);
        busy.progress(0);
        loads_.loadTestNames(names);
        busy.progress(50);
        loads_.loadShokuin(*CurTeachers);
    }
    const TestSelection before;
    if (!dialog || dialog->run() != QDialog::Accepted) return;

    BusyScope busy(frmWait);
    busy.progress(33);
    busy.progress(66);
    // Computed aside: a failing load leaves the outputs with the figures
    // they had.
    auto fresh = std::make_unique<TCalcTest>();
    try {
        loads_.calculate(*fresh);
    } catch (...) {
        before.restore();
        throw;
    }
    *CurCalcTest = *fresh;
    CurNameData->Grade = SelectedGrade;

    for (QPushButton *b : {btnPrIchiran, btnPrKojin, btnDispDosu}) b->setEnabled(true);
    for (QPushButton *b : {btnDispYouroku, btnDispTutihyou, btnPrKondan, btnHenkan}) b->setEnabled(false);
}

void TfrmDorvPrint::btnSelectRatingsClick(bool youroku) {
    Form *dialog = youroku ? static_cast<Form *>(frmSelectGakunen) : static_cast<Form *>(frmSelectHyotei);
    {
        BusyScope busy(frmWait);
        busy.progress(50);
        loads_.loadShokuin(*CurTeachers);
    }
    if (!dialog || dialog->run() != QDialog::Accepted) return;
    {
        BusyScope busy(frmWait);
        busy.progress(33);
        CurNameData->Grade = SelectedGrade;
        busy.progress(66);
    }
    CurHyoteiData->IsYouroku = youroku ? 1 : 0;
    btnHenkan->setEnabled(true);
    btnDispYouroku->setEnabled(youroku);
    btnDispTutihyou->setEnabled(!youroku);
    btnPrKondan->setEnabled(!youroku);
    // The test outputs print the statistics beside the roster of their own
    // grade; after a selection of another grade they wait for the next
    // test selection.
    if (SelectedGrade != CurCalcTest->CalcGrade) {
        for (QPushButton *b : {btnPrIchiran, btnPrKojin, btnDispDosu}) b->setEnabled(false);
    }
}

void TfrmDorvPrint::openModal(Form *form) {
    if (form) form->run();
}

void TfrmDorvPrint::btnCloseClick() {
    closing_ = true;
    done(QDialog::Accepted);
}

void TfrmDorvPrint::formClose() { freeDataObjects(); }

void TfrmDorvPrint::closeEvent(QCloseEvent *event) {
    // No close box: a close from the window manager ends the program like 終了.
    closeAsMainMenu(event, closing_, [this] { btnCloseClick(); });
}

}  // namespace dorv
