#include "print/layer/recording_canvas.h"

namespace dorv::print {

TCanvasOp TRecordingCanvas::Op(TCanvasOp::Kind what) const {
    TCanvasOp op;
    op.What = what;
    op.Page = PageCount();
    op.Font = Font();
    op.Brush = BrushColour();
    op.PenWidth = PenWidth();
    op.ScaleX = UnitScaleX();
    op.ScaleY = UnitScaleY();
    return op;
}

void TRecordingCanvas::DrawText(int x, int y, std::string_view utf8) {
    TCanvasOp op = Op(TCanvasOp::Kind::Text);
    op.X = x;
    op.Y = y;
    op.Text = std::string(utf8);
    ops_.push_back(std::move(op));
}

void TRecordingCanvas::DrawLine(int x1, int y1, int x2, int y2) {
    TCanvasOp op = Op(TCanvasOp::Kind::Line);
    op.X = x1;
    op.Y = y1;
    op.X2 = x2;
    op.Y2 = y2;
    ops_.push_back(std::move(op));
}

void TRecordingCanvas::DrawRectangle(const TRect &rect) {
    TCanvasOp op = Op(TCanvasOp::Kind::Rectangle);
    op.X = rect.Left;
    op.Y = rect.Top;
    op.X2 = rect.Right;
    op.Y2 = rect.Bottom;
    ops_.push_back(std::move(op));
}

void TRecordingCanvas::DrawChart(const TCanvasChart &chart, const TRect &rect) {
    TCanvasOp op = Op(TCanvasOp::Kind::Chart);
    op.X = rect.Left;
    op.Y = rect.Top;
    op.X2 = rect.Right;
    op.Y2 = rect.Bottom;
    op.Text = chart.Label();
    ops_.push_back(std::move(op));
}

std::vector<TCanvasOp> TRecordingCanvas::Texts(int page) const {
    std::vector<TCanvasOp> out;
    for (const auto &op : ops_)
        if (op.What == TCanvasOp::Kind::Text && (page == 0 || op.Page == page)) out.push_back(op);
    return out;
}

}  // namespace dorv::print
