#include "print/dorv_print_program.h"

#include "print/DorvDispTutihyo.h"
#include "print/DorvDispYouroku.h"
#include "print/DorvPrintDispDosu.h"
#include "print/dorv_print_kojin.h"
#include "print/dorv_print_kondan.h"
#include "print/dorv_print_ichiran.h"
#include "print/dorv_print_main.h"
#include "print/DorvTransfer.h"

#include "schooldata/desktop/form_slot.h"
#include "schooldata/dialogs/input_wait.h"
#include "schooldata/dialogs/select_gakunen.h"
#include "schooldata/dialogs/select_hyotei.h"
#include "schooldata/dialogs/select_jitsu.h"
#include "schooldata/dialogs/select_teiki.h"
#include "schooldata/dialogs/version.h"


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
