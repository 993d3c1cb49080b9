#include "roster/DorvNameMain.h"

#include "desktop/error_box.h"
#include "desktop/fonts.h"
#include "roster/DorvNameEdit.h"
#include "roster/hinagata_file.h"
#include "roster/roster_creation.h"
#include "roster/roster_widgets.h"
#include "schooldata/globals.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/settings.h"

#include <QLabel>
#include <QPushButton>

namespace dorv {

TfrmDorvName::TfrmDorvName(QWidget *parent) : Form(parent) {
    setObjectName("frmDorvName");
    setWindowTitle(QStringLiteral("名簿管理"));
    setBorder(Border::DialogMinimise);
    setClientSize(595, 313);
    setBackground(colours::green);
    SetUiFont(this, kMsPGothic, 12);

    lblTitle = new QLabel(QStringLiteral("成績処理Dorv名簿管理"), this);
    SetUiFont(lblTitle, kMsPGothic, 27);
    // Sized to its text: the substitute font runs wider than the original.
    lblTitle->move(48, 40);
    lblTitle->adjustSize();
    SetTextColour(lblTitle, colours::window());

    lblShow = new QLabel(this);
    lblShow->move(272, 144);
    lblShow->resize(0, 19);
    SetUiFont(lblShow, kMsPGothic, 19, true, true);
    SetTextColour(lblShow, Qt::white);

    btnG1 = RosterButton(this, QStringLiteral("１年名簿編集"), {56, 104, 145, 33}, 21);
    btnG2 = RosterButton(this, QStringLiteral("２年名簿編集"), {56, 168, 145, 33}, 21);
    btnG3 = RosterButton(this, QStringLiteral("３年名簿編集"), {56, 232, 145, 33}, 21);
    btnVersion = RosterButton(this, QStringLiteral("本ソフトについて"), {456, 176, 75, 25}, 8);
    btnClose = RosterButton(this, QStringLiteral("終了"), {456, 240, 75, 25}, 12);

    setTabOrder(btnClose, btnG1);
    setTabOrder(btnG1, btnG2);
    setTabOrder(btnG2, btnG3);
    setTabOrder(btnG3, btnVersion);

    connect(btnG1, &QPushButton::clicked, this, Guarded([this] { btnGradeClick(1); }, this));
    connect(btnG2, &QPushButton::clicked, this, Guarded([this] { btnGradeClick(2); }, this));
    connect(btnG3, &QPushButton::clicked, this, Guarded([this] { btnGradeClick(3); }, this));
    connect(btnVersion, &QPushButton::clicked, this,
            Guarded(
                [this] {
                    if (version_) version_->run();
                },
                this));
    connect(btnClose, &QPushButton::clicked, this, Guarded([this] { accept(); }, this));

    CurKurasuSuData = new TKurasuSuData;
    CurHinagataFile = new THinagataFile;
}

TfrmDorvName::~TfrmDorvName() {
    // Freed by the close already, unless the window never closed.
    delete CurHinagataFile;
    CurHinagataFile = nullptr;
    delete CurKurasuSuData;
    CurKurasuSuData = nullptr;
}

void TfrmDorvName::setForms(TfrmNameEdit *editor, Form *version) {
    editor_ = editor;
    version_ = version;
}

void TfrmDorvName::formShow() {
    // A window shown again after a close gets its objects back.
    if (!CurKurasuSuData) CurKurasuSuData = new TKurasuSuData;
    if (!CurHinagataFile) CurHinagataFile = new THinagataFile;
    ReadSchoolInfo();
    ReadWorkDrive();
    setWindowTitle(QStringLiteral("Dorv成績処理－名簿管理－　") + QString::fromStdString(SchoolName));
}

void TfrmDorvName::btnGradeClick(std::uint8_t grade) {
    // Waiting for a busy roster keeps the events flowing; a second press
    // meanwhile must not start a second creation.
    if (opening_) return;
    Grade = grade;
    if (editor_) editor_->setGrade(grade);
    OpenGrade();
}

void TfrmDorvName::OpenGrade() {
    opening_ = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{opening_};

    lblShow->setText(QStringLiteral("しばらくお待ちください"));
    lblShow->adjustSize();
    repaint();
    PrepareRoster(*CurKurasuSuData, *CurHinagataFile, Grade);
    lblShow->setText(QString());
    if (editor_) editor_->run();
    repaint();
}

void TfrmDorvName::done(int result) {
    Form::done(result);
    delete CurHinagataFile;
    CurHinagataFile = nullptr;
    delete CurKurasuSuData;
    CurKurasuSuData = nullptr;
}

}  // namespace dorv
