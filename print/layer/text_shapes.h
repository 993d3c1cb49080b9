// The texts of a print job, kept by font and text: the text's advance and
// the font's height and ascent, and for a text met more than once the
// glyphs the painter lays out for it in that font on the job's device. A
// sheet prints the same headings, labels and averages on every page, and
// laying a text out is most of the cost of printing it; a text met once
// (a student's row) is left for the painter to lay out as it draws it,
// which costs less than a layout kept for later.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QString>

#include <string>
#include <string_view>
#include <unordered_map>

class QPaintDevice;

namespace dorv::print {

struct TTextShape {
    qreal width = 0;  // the advance of the whole text, its blanks included
    qreal height = 0, ascent = 0;
    bool laidOut = false;     // whether `glyphs` holds the text
    QList<QGlyphRun> glyphs;  // placed from the left end of the baseline
};

class TTextShapes {
public:
    explicit TTextShapes(const QPaintDevice &device) : device_(device) {}

    // `font` as the painter holds it for the device; `fontKey` names it
    // among the fonts of the job.
    const TTextShape &Shape(const std::string &fontKey, const QFont &font, std::string_view utf8);

private:
    void LayOut(TTextShape &shape, const QFont &font, const QString &text) const;

    // Enough for every text that comes again on a sheet's pages; a job
    // that goes beyond starts again from none.
    static constexpr std::size_t kMaxTexts = 8192;

    const QPaintDevice &device_;
    std::unordered_map<std::string, TTextShape> texts_;
};

}  // namespace dorv::print
