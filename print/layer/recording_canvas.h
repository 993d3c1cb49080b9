// A canvas that keeps every drawing with the state it was drawn in, so that
// tests can check each string (blanks included), its position, font and
// background, and the page it is on.
#pragma once

#include <string>
#include <vector>

#include "print/layer/canvas.h"

namespace dorv::print {

struct TCanvasOp {
    enum class Kind { Text, Line, Rectangle, Chart };
    Kind What = Kind::Text;
    int Page = 0;        // 1-based
    int X = 0, Y = 0;    // text corner, line start, rectangle left-top
    int X2 = 0, Y2 = 0;  // line end, rectangle right-bottom
    std::string Text;    // text, or the chart's label
    TCanvasFont Font;
    TColour Brush;
    int PenWidth = 1;
    double ScaleX = 1, ScaleY = 1;
};

class TRecordingCanvas : public TCanvas {
public:
    explicit TRecordingCanvas(int dpiX = 600, int dpiY = 600) : dpiX_(dpiX), dpiY_(dpiY) {}

    int DpiX() const override { return dpiX_; }
    int DpiY() const override { return dpiY_; }
    int PageWidth() const override { return pageWidth_; }
    int PageHeight() const override { return pageHeight_; }
    void SetPageSize(int width, int height) {
        pageWidth_ = width;
        pageHeight_ = height;
    }

    const std::vector<TCanvasOp> &Ops() const { return ops_; }
    // The text drawings of one page (every page for 0), in drawing order.
    std::vector<TCanvasOp> Texts(int page = 0) const;

protected:
    void BeginFirstPage() override {}
    void BeginNextPage() override {}
    void DrawText(int x, int y, std::string_view utf8) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void DrawRectangle(const TRect &rect) override;
    void DrawChart(const TCanvasChart &chart, const TRect &rect) override;

private:
    TCanvasOp Op(TCanvasOp::Kind what) const;

    int dpiX_, dpiY_;
    // A4 portrait at 600 dpi inside 5 mm margins.
    int pageWidth_ = 4724, pageHeight_ = 6780;
    std::vector<TCanvasOp> ops_;
};

}  // namespace dorv::print
