#include "desktop/fit_text.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>

#include <algorithm>

namespace dorv {

namespace {

// As the text is laid out, to the fraction of a pixel.
qreal Width(const QFont &font, const QString &text) { return QFontMetricsF(font).horizontalAdvance(text); }

QFont WithPixelSize(QFont font, int px) {
    font.setPixelSize(px);
    return font;
}

}  // namespace

FittedText FitText(const QFont &font, const QString &text, int room) {
    if (Width(font, text) <= room) return {font, text};
    // " 1042" in a column made for " 101": the number itself still fits.
    QString trimmed = text;
    while (trimmed.startsWith(' ')) trimmed.remove(0, 1);
    if (Width(font, trimmed) <= room) return {font, trimmed};

    const int start = QFontInfo(font).pixelSize();
    const int smallest = std::min(start, kMinFittedTextPx);
    for (int px = start - 1; px >= smallest; --px) {
        const QFont smaller = WithPixelSize(font, px);
        if (Width(smaller, trimmed) <= room) return {smaller, trimmed, true, true};
    }
    const QFont smallestFont = WithPixelSize(font, smallest);
    return {smallestFont, QFontMetricsF(smallestFont).elidedText(trimmed, Qt::ElideRight, std::max(room, 0)), false,
            smallest < start};
}

void SetFittedText(QLabel &label, const QString &text, int pixelSize) {
    const FittedText fit =
        FitText(WithPixelSize(label.font(), pixelSize), text, label.contentsRect().width() - 2 * label.margin());
    label.setFont(fit.font);
    label.setText(fit.text);
    label.setToolTip(fit.whole ? QString() : text);
}

}  // namespace dorv
