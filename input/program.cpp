#include "input/program.h"

#include "desktop/services.h"

#include <QApplication>

namespace dorv {

DorvInputFormsRest::DorvInputFormsRest(DorvInputFormsFirst &first) {
    TfrmDorvInput::EntryForms entryForms;
    entryForms.teiki = first.teiki.form.get();
    entryForms.jitsu = first.jitsu.form.get();
    entryForms.hyotei = first.hyotei.form.get();
    entryForms.naishin = naishin.form.get();
    entryForms.youroku = youroku.form.get();
    first.main.form->setEntryForms(entryForms);
}

int RunDorvInput() {
    QApplication::setApplicationName("成績処理Dorv素点の入力");

    DorvInputFormsFirst first;
    if (Services().isExcelRunning()) {
        Services().showMessage(nullptr, "エクセルが起動しています。閉じてからもう一度実行してください");
        return 1;
    }
    DorvInputFormsRest rest(first);
    first.main.form->run();
    return first.main.form->startFailed() ? 1 : 0;
}

}  // namespace dorv
