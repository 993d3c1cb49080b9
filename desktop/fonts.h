// The forms name the fonts of the Japanese desktop; on this system the IPA
// fonts stand in for them. Sizes are pixel sizes (character heights).
#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace dorv {

inline const QString kMsMincho = QStringLiteral("ＭＳ 明朝");
inline const QString kMsGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kMsPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kMsPMincho = QStringLiteral("ＭＳ Ｐ明朝");

// Call once after the application object exists.
void InstallFontSubstitutes();

QFont UiFont(const QString &family, int pixelSize, bool bold = false, bool italic = false);
void SetUiFont(QWidget *widget, const QString &family, int pixelSize, bool bold = false, bool italic = false);

}  // namespace dorv
