// What a widget or a chart draws as text, caught on its way to the screen:
// every run of text with the font it is drawn in, the box it covers and the
// clip it is drawn under, all in the coordinates of what was drawn. The
// screen checks read it to tell whether a text shows whole.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

class QGraphicsScene;
class QWidget;

namespace dorv::testing {

struct DrawnText {
    QString text;
    QFont font;
    QRectF box;   // the advance of the text, from the font's ascent to its descent
    QRectF ink;   // what its glyphs cover
    QRectF clip;  // the clip's bounding box; empty when drawn unclipped
};

// Everything `widget` paints itself (its children left out), in its own
// coordinates.
std::vector<DrawnText> DrawnTexts(QWidget &widget);

// What the scene draws of `source` into a picture of the same size, in
// the scene's coordinates.
std::vector<DrawnText> DrawnTexts(QGraphicsScene &scene, const QRectF &source);

}  // namespace dorv::testing
