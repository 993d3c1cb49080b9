// A laid-out graphics scene (a chart's) drawn onto a painter as its lines,
// rectangles and texts, in the scene's paint order and at the scene's
// positions, with as few changes of the painter's state as the figures
// need.
//
// QGraphicsScene::render saves, moves and restores the painter around every
// item, and the PDF engine writes its whole graphics state (and a fresh
// pattern for a hatched brush) at each of those: nine charts made a page of
// some 400 KB of drawing commands. Drawn flat, every figure lands where
// render puts it: lines and rectangles at the item's place in the scene,
// texts as the glyphs their text items laid out, the children of an item
// that clips them (a chart's bars) inside its shape. An item of a kind not
// known here is painted by itself, as render would.
//
// The items are taken once, with their order, their clipping and the
// glyphs of the texts; each drawing reads again whether an item is shown,
// where it is and a line's or rectangle's figure, pen and brush. So a
// chart's bars may change between drawings; a change of the items
// themselves or of a text (a new layout of the axes) needs a new TFlatScene.
#pragma once

#include <QColor>
#include <QGlyphRun>
#include <QPainterPath>

#include <vector>

class QGraphicsItem;
class QGraphicsScene;
class QPainter;
class QPointF;
class QRectF;

namespace dorv {

class TFlatScene {
public:
    explicit TFlatScene(const QGraphicsScene &scene);

    // The scene's `source` rectangle drawn into `target`, stretched as
    // QGraphicsScene::render does with Qt::IgnoreAspectRatio.
    void Draw(QPainter &painter, const QRectF &target, const QRectF &source) const;

private:
    enum class TKind { Line, Rect, Text, Item };
    struct TGlyphs {
        QGlyphRun run;  // positions from the item's origin
        QColor colour;
    };
    struct TFigure {
        TKind kind;
        QGraphicsItem *item;
        int clip;  // index into clips_, -1 for none
        std::vector<TGlyphs> glyphs;
    };

    int ClipOf(const QGraphicsItem &item);
    static void DrawText(QPainter &painter, const TFigure &figure, QPointF origin);
    static void PaintItem(QPainter &painter, QGraphicsItem &item);

    std::vector<TFigure> figures_;
    // In scene coordinates: the intersection of the shapes of an item's
    // clipping ancestors (and its own when it clips itself).
    std::vector<QPainterPath> clips_;
};

}  // namespace dorv
