#include "print/layer/canvas.h"

namespace dorv::print {

void TCanvas::StartPendingPages() {
    if (pages_ == 0) {
        BeginFirstPage();
        pages_ = 1;
    }
    for (; pendingBreaks_ > 0; --pendingBreaks_) {
        BeginNextPage();
        ++pages_;
    }
}

void TCanvas::TextOut(int x, int y, std::string_view utf8) {
    StartPendingPages();
    DrawText(x, y, utf8);
}

void TCanvas::Line(int x1, int y1, int x2, int y2) {
    StartPendingPages();
    DrawLine(x1, y1, x2, y2);
}

void TCanvas::Rectangle(const TRect &rect) {
    StartPendingPages();
    DrawRectangle(rect);
}

void TCanvas::Chart(const TCanvasChart &chart, const TRect &rect) {
    StartPendingPages();
    DrawChart(chart, rect);
}

}  // namespace dorv::print
