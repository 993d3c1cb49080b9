#include "print/program.h"

namespace dorv {

DorvPrintForms::DorvPrintForms() {
    TfrmDorvPrint::OutputForms outputs;
    outputs.dispDosu = dispDosu.form.get();
    outputs.dispTutihyo = dispTutihyo.form.get();
    outputs.dispYouroku = dispYouroku.form.get();
    outputs.prKojin = printKojin.form.get();
    outputs.prIchiran = printIchiran.form.get();
    outputs.prKondan = printKondan.form.get();
    outputs.henkan = henkan.form.get();
    main.form->setOutputForms(outputs);
}

int RunDorvPrint() {
    DorvPrintForms forms;
    forms.main.form->run();
    return 0;
}

}  // namespace dorv
