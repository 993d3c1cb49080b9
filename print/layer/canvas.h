// The surface every printed sheet draws on. The sheets place text by its
// top-left corner in device pixels of the page, switch the brush colour that
// text is drawn on, and draw lines, rectangles and charts; a Qt canvas puts
// that on a printer or PDF, a recording canvas keeps it for tests.
//
// Pages: a page is started only when something is drawn on it. NewPage()
// asks for a break; the break takes effect at the next drawing, so a
// document in which nothing is drawn has no page and a break after the last
// drawing adds no blank page. Breaks asked for in a row with nothing drawn
// between them still give the blank pages between.
//
// Plain C++; text is UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorv::print {

struct TColour {
    std::uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const TColour &) const = default;
};

inline constexpr TColour kBlack{0, 0, 0};
inline constexpr TColour kWhite{255, 255, 255};
inline constexpr TColour kSilver{192, 192, 192};

inline constexpr std::string_view kMsMincho = "ＭＳ 明朝";
inline constexpr std::string_view kMsGothic = "ＭＳ ゴシック";
inline constexpr std::string_view kMsPGothic = "ＭＳ Ｐゴシック";

struct TCanvasFont {
    std::string Name = std::string(kMsMincho);
    double Size = 10;  // points at the canvas's resolution (scaled by SetUnitScale)
    bool FixedPitch = false;
    bool Bold = false;
    TColour Colour = kBlack;
    bool operator==(const TCanvasFont &) const = default;
};

// Left, top, right, bottom; right and bottom lie just outside.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect &) const = default;
};

// A chart that a canvas can draw into a rectangle. The Qt canvas draws the
// charts that implement its painting interface; Label() names the chart in
// recordings.
class TCanvasChart {
public:
    virtual ~TCanvasChart() = default;
    virtual std::string Label() const = 0;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // Device pixels per inch of the page.
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // The printable area in device pixels.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;

    void SetFont(const TCanvasFont &font) { font_ = font; }
    const TCanvasFont &Font() const { return font_; }
    // The colour text is drawn on (as wide and high as the text) and
    // rectangles are filled with.
    void SetBrushColour(TColour colour) { brush_ = colour; }
    TColour BrushColour() const { return brush_; }
    void SetPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }
    int PenWidth() const { return penWidth_; }
    // One unit of the coordinates (and of a font's point) becomes sx device
    // pixels across and sy down; (1, 1) is plain device pixels.
    void SetUnitScale(double sx, double sy) {
        scaleX_ = sx;
        scaleY_ = sy;
    }
    double UnitScaleX() const { return scaleX_; }
    double UnitScaleY() const { return scaleY_; }

    void NewPage() { ++pendingBreaks_; }
    // Text with its top-left corner at (x, y), on the brush colour.
    void TextOut(int x, int y, std::string_view utf8);
    void Line(int x1, int y1, int x2, int y2);
    // Outlined with the pen, filled with the brush.
    void Rectangle(const TRect &rect);
    void Chart(const TCanvasChart &chart, const TRect &rect);

    // Pages started so far.
    int PageCount() const { return pages_; }

protected:
    virtual void BeginFirstPage() = 0;
    virtual void BeginNextPage() = 0;
    virtual void DrawText(int x, int y, std::string_view utf8) = 0;
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
    virtual void DrawRectangle(const TRect &rect) = 0;
    virtual void DrawChart(const TCanvasChart &chart, const TRect &rect) = 0;

private:
    void StartPendingPages();

    TCanvasFont font_;
    TColour brush_ = kWhite;
    int penWidth_ = 1;
    double scaleX_ = 1, scaleY_ = 1;
    int pages_ = 0;
    int pendingBreaks_ = 0;
};

}  // namespace dorv::print
