#include "drawn_texts.h"

#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>
#include <QWidget>

#include <climits>
#include <cmath>

namespace dorv::testing {

namespace {

// A paint engine that draws nothing and writes down every text item.
class TextRecordingEngine : public QPaintEngine {
public:
    explicit TextRecordingEngine(std::vector<DrawnText> &out) : QPaintEngine(AllFeatures), out_(out) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState &state) override {
        if (state.state() & DirtyTransform) transform_ = state.transform();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawRects(const QRectF *, int) override {}
    void drawRects(const QRect *, int) override {}
    void drawLines(const QLineF *, int) override {}
    void drawLines(const QLine *, int) override {}
    void drawEllipse(const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPoints(const QPointF *, int) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
    void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}

    void drawTextItem(const QPointF &p, const QTextItem &item) override {
        DrawnText t;
        t.text = item.text();
        t.font = item.font();
        const QRectF box(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
        t.box = transform_.mapRect(box);
        t.ink = transform_.mapRect(QFontMetricsF(item.font()).tightBoundingRect(item.text()).translated(p));
        if (painter() && painter()->hasClipping()) t.clip = transform_.mapRect(painter()->clipBoundingRect());
        out_.push_back(t);
    }

private:
    std::vector<DrawnText> &out_;
    QTransform transform_;
};

class TextRecordingDevice : public QPaintDevice {
public:
    TextRecordingDevice(QSize size, std::vector<DrawnText> &out) : size_(size), engine_(out) {}
    ~TextRecordingDevice() override = default;
    QPaintEngine *paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return size_.width() * 254 / 960;
        case PdmHeightMM: return size_.height() * 254 / 960;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize size_;
    mutable TextRecordingEngine engine_;
};

}  // namespace

std::vector<DrawnText> DrawnTexts(QWidget &widget) {
    std::vector<DrawnText> out;
    TextRecordingDevice device(widget.size(), out);
    widget.render(&device, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return out;
}

std::vector<DrawnText> DrawnTexts(QGraphicsScene &scene, const QRectF &source) {
    std::vector<DrawnText> out;
    const QSize size(static_cast<int>(std::ceil(source.width())), static_cast<int>(std::ceil(source.height())));
    TextRecordingDevice device(size, out);
    {
        QPainter painter(&device);
        scene.render(&painter, QRectF(QPointF(0, 0), source.size()), source, Qt::IgnoreAspectRatio);
    }
    // Back into the scene's coordinates.
    for (DrawnText &t : out) {
        t.box.translate(source.topLeft());
        t.ink.translate(source.topLeft());
        if (!t.clip.isEmpty()) t.clip.translate(source.topLeft());
    }
    return out;
}

}  // namespace dorv::testing
