// The school-register twin of the report-card view.
#pragma once

#include "print/views/DorvDispTutihyo.h"

namespace dorv {

class TfrmDispYouroku : public TfrmDispHyotei {
    Q_OBJECT

public:
    explicit TfrmDispYouroku(QWidget *parent = nullptr);
};

extern TfrmDispYouroku *frmDispYouroku;

}  // namespace dorv
