// The program block of the entry program: creates every form once, refuses
// to start beside a running spreadsheet program, runs the main window and
// frees everything.
#pragma once

#include "desktop/form_slot.h"
#include "dialogs/DorvInputWait.h"
#include "dialogs/DorvSelectGakunen.h"
#include "dialogs/DorvSelectHyotei.h"
#include "dialogs/DorvSelectJitsu.h"
#include "dialogs/DorvSelectTeiki.h"
#include "dialogs/DorvVersion.h"
#include "input/DorvInputHyotei.h"
#include "input/DorvInputJitsu.h"
#include "input/DorvInputMain.h"
#include "input/DorvInputNaishin.h"
#include "input/DorvInputTeiki.h"
#include "input/DorvInputYouroku.h"
#include "input/DorvOtsukare.h"
#include "input/DorvSelectNaishin.h"

namespace dorv {

// The forms created first, in the program's fixed order, up to the
// term-rating form: at its creation the program checks for a running
// spreadsheet program, and nothing after it is created when one runs.
struct DorvInputFormsFirst {
    FormSlot<TfrmDorvInput> main{frmDorvInput};
    FormSlot<TfrmDorvInputJitsu> jitsu{frmDorvInputJitsu};
    FormSlot<TfrmSelectJitsu> selectJitsu{frmSelectJitsu};
    FormSlot<TfrmWait> wait{frmWait};
    FormSlot<TfrmDorvInputTeiki> teiki{frmDorvInputTeiki};
    FormSlot<TfrmSelectTeiki> selectTeiki{frmSelectTeiki};
    FormSlot<TfrmVersion> version{frmVersion};
    FormSlot<TfrmDorvInputHyotei> hyotei{frmDorvInputHyotei};
};

// The rest, in order; creating them hands the main form its entry forms.
struct DorvInputFormsRest {
    explicit DorvInputFormsRest(DorvInputFormsFirst &first);
    FormSlot<TfrmSelectHyotei> selectHyotei{frmSelectHyotei};
    FormSlot<TfrmDorvInputNaishin> naishin{frmDorvInputNaishin};
    FormSlot<TfrmSelectNaishin> selectNaishin{frmSelectNaishin};
    FormSlot<TfrmOtsukareMessage> otsukare{frmOtsukareMessage};
    FormSlot<TfrmDorvInputYouroku> youroku{frmDorvInputYouroku};
    FormSlot<TfrmSelectGakunen> selectGakunen{frmSelectGakunen};
};

// Returns the process exit code.
int RunDorvInput();

}  // namespace dorv
