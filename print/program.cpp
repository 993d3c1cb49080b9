#include "print/program.h"

#include "print/views/DorvDispTutihyo.h"
#include "print/views/DorvDispYouroku.h"
#include "print/views/DorvPrintDispDosu.h"
#include "print/forms/DorvPrintKojin.h"
#include "print/forms/DorvPrintKondan.h"
#include "print/forms/DorvPrintIchiran.h"
#include "print/forms/DorvPrintMain.h"
#include "print/forms/DorvTransfer.h"

#include "desktop/form_slot.h"
#include "schooldata/dialogs/DorvInputWait.h"
#include "schooldata/dialogs/DorvSelectGakunen.h"
#include "schooldata/dialogs/DorvSelectHyotei.h"
#include "schooldata/dialogs/DorvSelectJitsu.h"
#include "schooldata/dialogs/DorvSelectTeiki.h"
#include "schooldata/dialogs/DorvVersion.h"


namespace dorv {

int RunDorvPrint() {
    // Created in the program's fixed order; the views and prints are handed
    // to the main form with setOutputForms.
    FormSlot<TfrmDorvPrint> main(frmDorvPrint);
    FormSlot<TfrmSelectTeiki> selectTeiki(frmSelectTeiki);
    FormSlot<TfrmWait> wait(frmWait);
    FormSlot<TfrmDispDosu> dispDosu(frmDispDosu);
    FormSlot<TfrmPrintKojin> printKojin(frmPrintKojin);
    FormSlot<TfrmVersion> version(frmVersion);
    FormSlot<TfrmPrintIchiran> printIchiran(frmPrintIchiran);
    FormSlot<TfrmSelectJitsu> selectJitsu(frmSelectJitsu);
    FormSlot<TfrmSelectHyotei> selectHyotei(frmSelectHyotei);
    FormSlot<TfrmDispTutihyo> dispTutihyo(frmDispTutihyo);
    FormSlot<TfrmPrintKondan> printKondan(frmPrintKondan);
    FormSlot<TfrmDispYouroku> dispYouroku(frmDispYouroku);
    FormSlot<TfrmSelectGakunen> selectGakunen(frmSelectGakunen);
    FormSlot<TfrmHenkan> henkan(frmHenkan);

    TfrmDorvPrint::OutputForms outputs;
    outputs.dispDosu = dispDosu.form.get();
    outputs.dispTutihyo = dispTutihyo.form.get();
    outputs.dispYouroku = dispYouroku.form.get();
    outputs.prKojin = printKojin.form.get();
    outputs.prIchiran = printIchiran.form.get();
    outputs.prKondan = printKondan.form.get();
    outputs.henkan = henkan.form.get();
    main.form->setOutputForms(outputs);
    main.form->run();
    return 0;
}

}  // namespace dorv
