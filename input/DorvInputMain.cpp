#include "input/DorvInputMain.h"

#include "input/DorvOtsukare.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "desktop/services.h"
#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvVersion.h"
#include "schooldata/access.h"
#include "schooldata/globals.h"
#include "schooldata/settings.h"
#include "schooldata/teachers.h"
#include "schooldata/test_names.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace dorv {

TfrmDorvInput *frmDorvInput = nullptr;

namespace {

// Subject codes: 0..4 have proficiency tests, 11 and above mean none.
constexpr int kFirstWithoutProficiency = 5;
constexpr int kNoSubject = 11;

// The shared objects the main window owns: made anew at each start-up,
// freed when it closes.
template <class T>
void Free(T *&object) {
    delete object;
    object = nullptr;
}

template <class T>
T &Renew(T *&object) {
    Free(object);
    object = new T;
    return *object;
}

QPushButton *menuButton(QWidget *parent, const char *name, const QString &text, int top) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(32, top, 241, 41);
    SetUiFont(b, kMsPGothic, 19);
    return b;
}

}  // namespace

TfrmDorvInput::TfrmDorvInput(QWidget *parent) : Form(parent) {
    setObjectName("frmDorvInput");
    setBorder(Border::DialogMinimise);
    setWindowTitle("成績処理Dorv入力");
    setClientSize(561, 468);
    setBackground(colours::navy);
    SetUiFont(this, kMsPGothic, 12);

    lblTeacherName = new QLabel(this);
    lblTeacherName->setObjectName("lblTeacherName");
    SetUiFont(lblTeacherName, kMsPGothic, 21);
    SetTextColour(lblTeacherName, colours::window());
    lblTeacherName->setGeometry(32, 24, 0, 21);

    lblMessageLogoff = new QLabel("お名前が違う場合は、一度終了して、Windowsに再ログインしてください。", this);
    lblMessageLogoff->setObjectName("lblMessageLogoff");
    SetUiFont(lblMessageLogoff, kMsPGothic, 12);
    SetTextColour(lblMessageLogoff, colours::yellow);
    lblMessageLogoff->setGeometry(120, 72, 361, 12);
    lblMessageLogoff->adjustSize();

    pnlOperation = new QFrame(this);
    pnlOperation->setObjectName("pnlOperation");
    pnlOperation->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlOperation->setLineWidth(2);
    pnlOperation->setGeometry(64, 120, 305, 321);
    pnlOperation->setAutoFillBackground(true);
    {
        QPalette p = pnlOperation->palette();
        p.setColor(QPalette::Window, colours::navy);
        pnlOperation->setPalette(p);
    }
    btnTeiki = menuButton(pnlOperation, "btnTeiki", "定期テストの素点入力", 24);
    btnJitsu = menuButton(pnlOperation, "btnJitsu", "実力テストの素点入力", 80);
    btnHyotei = menuButton(pnlOperation, "btnHyotei", "評定・観点の入力", 144);
    btnJudan = menuButton(pnlOperation, "btnJudan", "内申の入力", 200);
    btnYouroku = menuButton(pnlOperation, "btnYouroku", "指導要録入力", 256);

    btnVersion = new QPushButton("本ソフトについて", this);
    btnVersion->setObjectName("btnVersion");
    btnVersion->setGeometry(440, 136, 75, 25);
    SetUiFont(btnVersion, kMsPGothic, 8);

    btnClose = new QPushButton("終了", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(432, 408, 89, 33);
    SetUiFont(btnClose, kMsPGothic, 16);

    setTabOrder(btnClose, btnTeiki);
    setTabOrder(btnTeiki, btnJitsu);
    setTabOrder(btnJitsu, btnHyotei);
    setTabOrder(btnHyotei, btnJudan);
    setTabOrder(btnJudan, btnYouroku);
    setTabOrder(btnYouroku, btnVersion);

    connect(btnTeiki, &QPushButton::clicked, this, Guarded([this] { openModal(entryForms_.teiki); }, this));
    connect(btnJitsu, &QPushButton::clicked, this, Guarded([this] { btnJitsuClick(); }, this));
    connect(btnHyotei, &QPushButton::clicked, this, Guarded([this] { openModal(entryForms_.hyotei); }, this));
    connect(btnJudan, &QPushButton::clicked, this, Guarded([this] { openModal(entryForms_.naishin); }, this));
    connect(btnYouroku, &QPushButton::clicked, this, Guarded([this] { openModal(entryForms_.youroku); }, this));
    connect(btnVersion, &QPushButton::clicked, this, Guarded([this] { openModal(frmVersion); }, this));
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { btnCloseClick(); }, this));
}

const TTeacherRec &TfrmDorvInput::teacher() const {
    // Record 0 is the empty teacher: no name, no subject.
    static const TTeacherRec nobody;
    if (!CurTeachers || TeacherIndex > TTeachers::kRecords) return nobody;
    return CurTeachers->Teacher[TeacherIndex];
}

void TfrmDorvInput::loadMasterData() {
    BusyScope busy(frmWait);
    ReadSchoolInfo();
    ReadWorkDrive();
    setWindowTitle("成績処理Dorv入力 - " + QString::fromStdString(SchoolName));
    GetLoginStaffNo();
    Renew(CurTeachers).LoadShokuin();
    busy.progress(33);
    // A login without a number names nobody, whatever the list holds.
    TeacherIndex = LoginStaffNo == 0 ? 0 : CurTeachers->IndexOfStaffNo(LoginStaffNo);
    Renew(CurJitsuTestName).LoadTestNames();
    busy.progress(66);
    Renew(CurTeikiTestName).LoadTestNames();
    busy.progress(100);
}

void TfrmDorvInput::formShow() {
    greeted_ = false;
    startFailed_ = false;
    closing_ = false;
    try {
        loadMasterData();
    } catch (...) {
        startFailed_ = true;
        // Without the staff list no teacher can be identified: the menu
        // must not run.
        ShowCurrentError(this);
        done(QDialog::Rejected);
        return;
    }
    const TTeacherRec &rec = teacher();
    const QString name = QString::fromStdString(rec.TeacherName);
    if (rec.Kyoka >= kNoSubject || TeacherIndex == 0) {
        lblTeacherName->clear();
        Services().showMessage(this, name + "　先生は入力できません");
        btnCloseClick();
        return;
    }
    lblTeacherName->setText(name + "　先生　の入力です。");
    lblTeacherName->adjustSize();
    greeted_ = true;
    // The menu opens on the first of the tab order, not on the first
    // entry button.
    btnClose->setFocus();
    repaint();
}

void TfrmDorvInput::openModal(Form *form) {
    if (form) form->run();
}

void TfrmDorvInput::btnJitsuClick() {
    if (teacher().Kyoka < kFirstWithoutProficiency) {
        openModal(entryForms_.jitsu);
        return;
    }
    Services().showMessage(this, "実力テストの素点は入力できません");
    done(QDialog::Rejected);
}

void TfrmDorvInput::btnCloseClick() {
    if (closing_) return;
    closing_ = true;
    if (frmOtsukareMessage) frmOtsukareMessage->showAndPaint();
    PumpWait(1000);
    if (frmOtsukareMessage) frmOtsukareMessage->hide();
    done(QDialog::Accepted);
}

void TfrmDorvInput::formClose() {
    Free(CurTeikiTestName);
    Free(CurJitsuTestName);
    Free(CurTeachers);
}

void TfrmDorvInput::closeEvent(QCloseEvent *event) {
    // The window manager's close is 終了 without the farewell.
    closeAsMainMenu(event, closing_, [this] {
        closing_ = true;
        done(QDialog::Accepted);
    });
}

}  // namespace dorv
