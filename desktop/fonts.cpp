#include "desktop/fonts.h"

#include <QWidget>

namespace dorv {

void InstallFontSubstitutes() {
    QFont::insertSubstitution(kMsMincho, QStringLiteral("IPAMincho"));
    QFont::insertSubstitution(kMsGothic, QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(kMsPGothic, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(kMsPMincho, QStringLiteral("IPAPMincho"));
}

QFont UiFont(const QString &family, int pixelSize, bool bold, bool italic) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void SetUiFont(QWidget *widget, const QString &family, int pixelSize, bool bold, bool italic) {
    widget->setFont(UiFont(family, pixelSize, bold, italic));
}

}  // namespace dorv
