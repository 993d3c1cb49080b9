// The roster forms' buttons: placed by their geometry, in the forms' font.
#pragma once

#include "desktop/fonts.h"

#include <QPushButton>
#include <QRect>
#include <QString>

namespace dorv {

inline QPushButton *RosterButton(QWidget *parent, const QString &caption, QRect geometry, int fontPx) {
    auto *b = new QPushButton(caption, parent);
    b->setGeometry(geometry);
    SetUiFont(b, kMsPGothic, fontPx);
    return b;
}

}  // namespace dorv
