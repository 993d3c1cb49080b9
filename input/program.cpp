#include "input/program.h"

#include "input/DorvInputHyotei.h"
#include "input/DorvInputJitsu.h"
#include "input/DorvInputNaishin.h"
#include "input/DorvInputYouroku.h"
#include "input/DorvSelectNaishin.h"
#include "input/DorvInputTeiki.h"
#include "input/DorvInputMain.h"
#include "input/DorvOtsukare.h"

#include "desktop/services.h"
#include "desktop/form_slot.h"
#include "schooldata/dialogs/DorvInputWait.h"
#include "schooldata/dialogs/DorvSelectGakunen.h"
#include "schooldata/dialogs/DorvSelectHyotei.h"
#include "schooldata/dialogs/DorvSelectJitsu.h"
#include "schooldata/dialogs/DorvSelectTeiki.h"
#include "schooldata/dialogs/DorvVersion.h"

#include <QApplication>


namespace dorv {

int RunDorvInput() {
    QApplication::setApplicationName("成績処理Dorv素点の入力");

    // Created in the program's fixed order.
    FormSlot<TfrmDorvInput> main(frmDorvInput);
    FormSlot<TfrmDorvInputJitsu> jitsu(frmDorvInputJitsu);
    FormSlot<TfrmSelectJitsu> selectJitsu(frmSelectJitsu);
    FormSlot<TfrmWait> wait(frmWait);
    FormSlot<TfrmDorvInputTeiki> teiki(frmDorvInputTeiki);
    FormSlot<TfrmSelectTeiki> selectTeiki(frmSelectTeiki);
    FormSlot<TfrmVersion> version(frmVersion);
    // The creation of the rating form is where the program refuses to run
    // beside the spreadsheet program: nothing after it is created and no
    // window is shown.
    FormSlot<TfrmDorvInputHyotei> hyotei(frmDorvInputHyotei);
    if (Services().isExcelRunning()) {
        Services().showMessage(nullptr, "エクセルが起動しています。閉じてからもう一度実行してください");
        return 1;
    }
    FormSlot<TfrmSelectHyotei> selectHyotei(frmSelectHyotei);
    FormSlot<TfrmDorvInputNaishin> naishin(frmDorvInputNaishin);
    FormSlot<TfrmSelectNaishin> selectNaishin(frmSelectNaishin);
    FormSlot<TfrmOtsukareMessage> otsukare(frmOtsukareMessage);
    FormSlot<TfrmDorvInputYouroku> youroku(frmDorvInputYouroku);
    FormSlot<TfrmSelectGakunen> selectGakunen(frmSelectGakunen);

    TfrmDorvInput::EntryForms entryForms;
    entryForms.teiki = teiki.form.get();
    entryForms.jitsu = jitsu.form.get();
    entryForms.hyotei = hyotei.form.get();
    entryForms.naishin = naishin.form.get();
    entryForms.youroku = youroku.form.get();
    main.form->setEntryForms(entryForms);
    main.form->run();
    return main.form->startFailed() ? 1 : 0;
}

}  // namespace dorv
