// A text in a room of fixed width, such as a grid cell or a label sized by
// its form: it keeps its font where it fits; otherwise the blanks that pad a
// number to the right go first, then the font gets smaller step by step
// down to a size that still reads, and only a text too long even then is
// cut short with "…" (and the widget shows it whole as its tool tip).
#pragma once

#include <QFont>
#include <QString>

class QLabel;

namespace dorv {

// The smallest character height a shrunk text gets. A font that starts
// smaller than this keeps its own size.
constexpr int kMinFittedTextPx = 12;

struct FittedText {
    QFont font;
    QString text;         // what is drawn
    bool whole = true;    // false when `text` is cut short
    bool shrunk = false;  // `font` is smaller than the one asked for
};

FittedText FitText(const QFont &font, const QString &text, int room);

// The label shows `text` fitted into its width, starting from `pixelSize`
// (the label's own size on the form); a text cut short is its tool tip.
void SetFittedText(QLabel &label, const QString &text, int pixelSize);

}  // namespace dorv
