#include "print/layer/text_shapes.h"

#include <QFontMetricsF>
#include <QString>
#include <QTextLayout>
#include <QTextLine>

#include "desktop/to_qstring.h"

namespace dorv::print {

const TTextShape &TTextShapes::Shape(const std::string &fontKey, const QFont &font, std::string_view utf8) {
    std::string key;
    key.reserve(fontKey.size() + 1 + utf8.size());
    key.append(fontKey).append(1, '\0').append(utf8);
    if (const auto found = texts_.find(key); found != texts_.end()) {
        // Met again: worth laying out once for every further time.
        if (!found->second.laidOut) LayOut(found->second, font, ToQString(utf8));
        return found->second;
    }
    if (texts_.size() >= kMaxTexts) texts_.clear();
    TTextShape shape;
    const QFontMetricsF metrics(font, &device_);
    shape.width = metrics.horizontalAdvance(ToQString(utf8));
    shape.height = metrics.height();
    shape.ascent = metrics.ascent();
    return texts_.emplace(std::move(key), std::move(shape)).first->second;
}

void TTextShapes::LayOut(TTextShape &shape, const QFont &font, const QString &text) const {
    shape.laidOut = true;
    // One line as long as the text, as the painter draws a text at a point.
    QTextLayout layout(text, font, &device_);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return;
    // The line puts its baseline at its own ascent, which a fallback font
    // for some of the characters may make larger than the font's.
    const qreal baseline = line.ascent();
    for (QGlyphRun run : layout.glyphRuns()) {
        QList<QPointF> positions = run.positions();
        for (QPointF &p : positions) p.ry() -= baseline;
        run.setPositions(positions);
        shape.glyphs.append(run);
    }
}

}  // namespace dorv::print
