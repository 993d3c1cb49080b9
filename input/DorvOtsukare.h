// The farewell window shown for a second when the entry program ends.
#pragma once

#include "desktop/form.h"

class QLabel;

namespace dorv {

class TfrmOtsukareMessage : public Form {
    Q_OBJECT

public:
    explicit TfrmOtsukareMessage(QWidget *parent = nullptr);

    QLabel *lblOtsukare;
};

extern TfrmOtsukareMessage *frmOtsukareMessage;

}  // namespace dorv
