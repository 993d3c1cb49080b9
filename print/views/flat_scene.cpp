#include "print/views/flat_scene.h"

#include <QGraphicsItem>
#include <QGraphicsItemGroup>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>
#include <QTransform>

#include <cmath>

namespace dorv {

namespace {

// Where the item's own coordinates start in the scene; false for an item
// that is not merely moved, which cannot be drawn flat.
bool OriginOf(const QGraphicsItem &item, QPointF &origin) {
    const QTransform t = item.sceneTransform();
    if (t.type() > QTransform::TxTranslate) return false;
    origin = QPointF(t.dx(), t.dy());
    return true;
}

// Whether glyphs placed from `p` come out exactly as from the origin: the
// painter places them in 1/64 units of its coordinates.
bool OnFixedGrid(QPointF p) { return std::floor(p.x() * 64) == p.x() * 64 && std::floor(p.y() * 64) == p.y() * 64; }

}  // namespace

TFlatScene::TFlatScene(const QGraphicsScene &scene) {
    for (QGraphicsItem *item : scene.items(Qt::AscendingOrder)) {
        // As render: items without content draw nothing, and a group only
        // its selection.
        if (item->flags() & QGraphicsItem::ItemHasNoContents) continue;
        if (item->type() == QGraphicsItemGroup::Type && !item->isSelected()) continue;
        TFigure figure{TKind::Item, item, ClipOf(*item), {}};
        if (item->type() == QGraphicsLineItem::Type) figure.kind = TKind::Line;
        if (item->type() == QGraphicsRectItem::Type) figure.kind = TKind::Rect;
        if (item->type() == QGraphicsTextItem::Type) {
            figure.kind = TKind::Text;
            const auto *text = static_cast<const QGraphicsTextItem *>(item);
            const QTextDocument *document = text->document();
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
                const QPointF at = block.layout()->position();
                for (auto f = block.begin(); !f.atEnd(); ++f) {
                    const QTextFragment fragment = f.fragment();
                    const QTextCharFormat format = fragment.charFormat();
                    const QColor colour = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                                           : text->defaultTextColor();
                    for (QGlyphRun run : fragment.glyphRuns()) {
                        QList<QPointF> positions = run.positions();
                        for (QPointF &p : positions) p += at;
                        run.setPositions(positions);
                        figure.glyphs.push_back({run, colour});
                    }
                }
            }
        }
        figures_.push_back(std::move(figure));
    }
}

int TFlatScene::ClipOf(const QGraphicsItem &item) {
    std::vector<const QGraphicsItem *> owners;
    if (item.flags() & QGraphicsItem::ItemClipsToShape) owners.push_back(&item);
    for (const QGraphicsItem *p = item.parentItem(); p != nullptr; p = p->parentItem())
        if (p->flags() & QGraphicsItem::ItemClipsChildrenToShape) owners.push_back(p);
    if (owners.empty()) return -1;
    // Outermost first, as render applies them.
    QPainterPath clip;
    for (auto i = owners.rbegin(); i != owners.rend(); ++i) {
        const QPainterPath shape = (*i)->sceneTransform().map((*i)->shape());
        clip = i == owners.rbegin() ? shape : clip.intersected(shape);
    }
    for (std::size_t i = 0; i < clips_.size(); ++i)
        if (clips_[i] == clip) return static_cast<int>(i);
    clips_.push_back(clip);
    return static_cast<int>(clips_.size() - 1);
}

void TFlatScene::Draw(QPainter &painter, const QRectF &target, const QRectF &source) const {
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.setWorldTransform(QTransform()
                                  .translate(target.left(), target.top())
                                  .scale(target.width() / source.width(), target.height() / source.height())
                                  .translate(-source.left(), -source.top()),
                              true);
    int clip = -1;
    for (const TFigure &figure : figures_) {
        QGraphicsItem &item = *figure.item;
        // As render: hidden and fully transparent items draw nothing.
        if (!item.isVisible() || item.effectiveOpacity() <= 0) continue;
        if (figure.clip != clip) {
            if (clip != -1) painter.restore();
            clip = figure.clip;
            if (clip != -1) {
                painter.save();
                painter.setClipPath(clips_[clip], Qt::IntersectClip);
            }
        }
        QPointF origin;
        const bool flat = item.effectiveOpacity() >= 1 && OriginOf(item, origin);
        switch (flat ? figure.kind : TKind::Item) {
        case TKind::Line: {
            const auto &line = static_cast<const QGraphicsLineItem &>(item);
            painter.setPen(line.pen());
            painter.drawLine(line.line().translated(origin));
            break;
        }
        case TKind::Rect: {
            // The brush origin stays: the PDF engine lays a pattern from the
            // page's corner wherever the painter was moved.
            const auto &rect = static_cast<const QGraphicsRectItem &>(item);
            painter.setPen(rect.pen());
            painter.setBrush(rect.brush());
            painter.drawRect(rect.rect().translated(origin));
            break;
        }
        case TKind::Text: DrawText(painter, figure, origin); break;
        case TKind::Item: PaintItem(painter, item); break;
        }
    }
    if (clip != -1) painter.restore();
    painter.restore();
}

void TFlatScene::DrawText(QPainter &painter, const TFigure &figure, QPointF origin) {
    // Off the painter's grid the glyphs are placed from the item's origin,
    // as render does, or they would move by up to half a unit.
    const bool onGrid = OnFixedGrid(origin);
    if (!onGrid) {
        painter.save();
        painter.translate(origin);
    }
    for (const TGlyphs &glyphs : figure.glyphs) {
        painter.setPen(glyphs.colour);
        painter.drawGlyphRun(onGrid ? origin : QPointF(), glyphs.run);
    }
    if (!onGrid) painter.restore();
}

void TFlatScene::PaintItem(QPainter &painter, QGraphicsItem &item) {
    QStyleOptionGraphicsItem option;
    option.state = item.isEnabled() ? QStyle::State_Enabled : QStyle::State_None;
    if (item.isSelected()) option.state |= QStyle::State_Selected;
    option.exposedRect = item.boundingRect();
    option.rect = option.exposedRect.toAlignedRect();
    painter.save();
    painter.setOpacity(painter.opacity() * item.effectiveOpacity());
    painter.setTransform(item.sceneTransform(), true);
    item.paint(&painter, &option, nullptr);
    painter.restore();
}

}  // namespace dorv
