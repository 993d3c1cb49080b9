// The main window of the display and print program: owns the shared data
// objects for the run, offers the four selections (regular test,
// proficiency test, term ratings, school register) and enables the views
// and prints that belong to what has been selected.
#pragma once

#include "desktop/form.h"

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace dorv {

class TCalcTest;
class TTeachers;
class TTestNameSet;

class TfrmDorvPrint : public Form {
    Q_OBJECT

public:
    explicit TfrmDorvPrint(QWidget *parent = nullptr);
    ~TfrmDorvPrint() override;

    // The views and prints the buttons open, created at start-up by the
    // program; a button whose form is not given opens nothing.
    struct OutputForms {
        Form *dispDosu = nullptr;     // 度数分布
        Form *dispTutihyo = nullptr;  // 評定
        Form *dispYouroku = nullptr;  // 指導要録 (表示)
        Form *prKojin = nullptr;      // 個人票
        Form *prIchiran = nullptr;    // 一覧表
        Form *prKondan = nullptr;     // 懇談資料
        Form *henkan = nullptr;       // C4th変換
    };
    void setOutputForms(const OutputForms &forms) { outputForms_ = forms; }

    // The loads of the start-up and of the selections; tests put in their
    // own.
    struct Loads {
        std::function<void(TTeachers &)> loadShokuin;
        std::function<void(TTestNameSet &)> loadTestNames;
        std::function<void(TCalcTest &)> calculate;
    };
    static Loads DefaultLoads();
    void setLoads(Loads loads) { loads_ = std::move(loads); }

    QGroupBox *gbxSelectTest;
    QPushButton *btnSelectTeiki;
    QPushButton *btnSelectJitsu;
    QPushButton *btnSelectHyotei;
    QPushButton *btnSelectYouroku;
    QGroupBox *grbDisp;
    QPushButton *btnDispDosu;
    QPushButton *btnDispTutihyou;
    QPushButton *btnDispYouroku;
    QGroupBox *grbPrint;
    QPushButton *btnPrKojin;
    QPushButton *btnPrIchiran;
    QPushButton *btnPrKondan;
    QPushButton *btnHenkan;
    QLabel *lblShiji;
    QPushButton *btnVersion;
    QPushButton *btnClose;

protected:
    void formShow() override;
    void formClose() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createDataObjects();
    void freeDataObjects();
    void disableOutputs();
    void btnSelectTestClick(bool proficiency);
    void btnSelectRatingsClick(bool youroku);
    void openModal(Form *form);
    void btnCloseClick();

    OutputForms outputForms_;
    Loads loads_;
    bool closing_ = false;
};

extern TfrmDorvPrint *frmDorvPrint;

}  // namespace dorv
