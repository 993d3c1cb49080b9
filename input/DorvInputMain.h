// The main window of the entry program: loads the settings, the staff list
// and the test names, greets or refuses the logged-in teacher, and offers
// the entry forms.
#pragma once

#include "desktop/form.h"

class QFrame;
class QLabel;
class QPushButton;

namespace dorv {

struct TTeacherRec;

class TfrmDorvInput : public Form {
    Q_OBJECT

public:
    explicit TfrmDorvInput(QWidget *parent = nullptr);

    // The forms the menu opens, created at start-up by the program; a
    // button whose form is not given does nothing.
    struct EntryForms {
        Form *teiki = nullptr;    // 定期テストの素点入力
        Form *jitsu = nullptr;    // 実力テストの素点入力
        Form *hyotei = nullptr;   // 評定・観点の入力
        Form *naishin = nullptr;  // 内申の入力
        Form *youroku = nullptr;  // 指導要録入力
    };
    void setEntryForms(const EntryForms &forms) { entryForms_ = forms; }

    // True once a teacher who may enter something has been greeted.
    bool greeted() const { return greeted_; }
    // True when the staff list or the test names could not be loaded.
    bool startFailed() const { return startFailed_; }

    QLabel *lblTeacherName;
    QLabel *lblMessageLogoff;
    QFrame *pnlOperation;
    QPushButton *btnTeiki;
    QPushButton *btnJitsu;
    QPushButton *btnHyotei;
    QPushButton *btnJudan;
    QPushButton *btnYouroku;
    QPushButton *btnVersion;
    QPushButton *btnClose;

protected:
    void formShow() override;
    void formClose() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void loadMasterData();
    const TTeacherRec &teacher() const;
    void openModal(Form *form);
    void btnJitsuClick();
    void btnCloseClick();

    EntryForms entryForms_;
    bool greeted_ = false;
    bool startFailed_ = false;
    bool closing_ = false;
};

extern TfrmDorvInput *frmDorvInput;

}  // namespace dorv
