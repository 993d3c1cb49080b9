// The program block of the display and print program: creates every form
// once in the program's fixed order, runs the main window and frees
// everything.
#pragma once

#include "desktop/form_slot.h"
#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "dialogs/DorvSelectJitsu.h"
#include "dialogs/DorvSelectTeiki.h"
#include "dialogs/DorvVersion.h"
#include "print/forms/DorvPrintIchiran.h"
#include "print/forms/DorvPrintKojin.h"
#include "print/forms/DorvPrintKondan.h"
#include "print/forms/DorvPrintMain.h"
#include "print/forms/DorvTransfer.h"
#include "print/views/DorvDispTutihyo.h"
#include "print/views/DorvDispYouroku.h"
#include "print/views/DorvPrintDispDosu.h"

namespace dorv {

// Every form of the program in its fixed order; creating them hands the main
// form its views and prints.
struct DorvPrintForms {
    DorvPrintForms();
    FormSlot<TfrmDorvPrint> main{frmDorvPrint};
    FormSlot<TfrmSelectTeiki> selectTeiki{frmSelectTeiki};
    FormSlot<TfrmWait> wait{frmWait};
    FormSlot<TfrmDispDosu> dispDosu{frmDispDosu};
    FormSlot<TfrmPrintKojin> printKojin{frmPrintKojin};
    FormSlot<TfrmVersion> version{frmVersion};
    FormSlot<TfrmPrintIchiran> printIchiran{frmPrintIchiran};
    FormSlot<TfrmSelectJitsu> selectJitsu{frmSelectJitsu};
    FormSlot<TfrmSelectHyotei> selectHyotei{frmSelectHyotei};
    FormSlot<TfrmDispTutihyo> dispTutihyo{frmDispTutihyo};
    FormSlot<TfrmPrintKondan> printKondan{frmPrintKondan};
    FormSlot<TfrmDispYouroku> dispYouroku{frmDispYouroku};
    FormSlot<TfrmSelectGakunen> selectGakunen{frmSelectGakunen};
    FormSlot<TfrmHenkan> henkan{frmHenkan};
};

// Returns the process exit code.
int RunDorvPrint();

}  // namespace dorv
