// The canvas on a Qt paint device (a QPrinter, which writes to a printer or
// a PDF file). The painter is begun only when the first thing is drawn;
// when it cannot begin, that drawing raises std::runtime_error with the
// message the canvas was given.
#pragma once

#include <QPagedPaintDevice>
#include <QPainter>

#include "print/layer/canvas.h"
#include "print/layer/text_shapes.h"

#include <QFont>

#include <memory>
#include <string>
#include <unordered_map>

namespace dorv::print {

// A chart the Qt canvas can paint: it draws itself into `target` (device
// pixels of the painter's current coordinates).
class TQtCanvasChart : public TCanvasChart {
public:
    virtual void Paint(QPainter &painter, const QRectF &target) const = 0;
};

class TQtCanvas : public TCanvas {
public:
    // `cannotStart` tells the user what could not be opened.
    TQtCanvas(QPagedPaintDevice &device, std::string cannotStart);
    ~TQtCanvas() override;

    int DpiX() const override;
    int DpiY() const override;
    int PageWidth() const override;
    int PageHeight() const override;

    // Ends the painter (and so the document) when it was begun; further
    // drawing is ignored. True when the painter had been begun and ended
    // without a failure being reported.
    bool Finish();

protected:
    void BeginFirstPage() override;
    void BeginNextPage() override;
    void DrawText(int x, int y, std::string_view utf8) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void DrawRectangle(const TRect &rect) override;
    void DrawChart(const TCanvasChart &chart, const TRect &rect) override;

private:
    bool Ready();
    void ApplyState();
    void SetBrush(const QColor &colour);
    // The canvas font as the painter draws it; `key` names it.
    const QFont &PainterFont(const TCanvasFont &font, std::string &key);

    QPagedPaintDevice &device_;
    std::string cannotStart_;
    QPainter painter_;
    bool began_ = false;
    bool finished_ = false;
    std::unordered_map<std::string, QFont> fonts_;
    std::string painterFont_;  // the key of the painter's font
    std::unique_ptr<TTextShapes> shapes_;
};

}  // namespace dorv::print
