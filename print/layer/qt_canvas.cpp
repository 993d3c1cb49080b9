#include "print/layer/qt_canvas.h"

#include <QFont>
#include <QGlyphRun>
#include <QString>
#include <QTransform>

#include <stdexcept>
#include <utility>

#include "desktop/fonts.h"
#include "desktop/to_qstring.h"

namespace dorv::print {
namespace {

QColor ToQColor(TColour c) { return QColor(c.Red, c.Green, c.Blue); }

}  // namespace

TQtCanvas::TQtCanvas(QPagedPaintDevice &device, std::string cannotStart)
    : device_(device), cannotStart_(std::move(cannotStart)), shapes_(std::make_unique<TTextShapes>(device)) {
    // The sheets name the fonts of the Japanese desktop; without the
    // substitutes Qt would pick an arbitrary face for them.
    if (QFont::substitutes(dorv::kMsMincho).isEmpty()) InstallFontSubstitutes();
}

TQtCanvas::~TQtCanvas() { Finish(); }

int TQtCanvas::DpiX() const { return device_.logicalDpiX(); }
int TQtCanvas::DpiY() const { return device_.logicalDpiY(); }
int TQtCanvas::PageWidth() const { return device_.width(); }
int TQtCanvas::PageHeight() const { return device_.height(); }

bool TQtCanvas::Finish() {
    if (finished_) return false;
    finished_ = true;
    if (!began_) return false;
    return painter_.end();
}

void TQtCanvas::BeginFirstPage() {
    if (finished_) return;
    began_ = painter_.begin(&device_);
    // A job that cannot start (no file can be written, the printer refuses)
    // must not look printed.
    if (!began_) throw std::runtime_error(cannotStart_);
}

void TQtCanvas::BeginNextPage() {
    if (Ready()) device_.newPage();
}

bool TQtCanvas::Ready() { return began_ && !finished_ && painter_.isActive(); }

void TQtCanvas::ApplyState() {
    // Only what changed: the PDF engine writes its whole graphics state
    // again at every change of the painter's transform or brush.
    const QTransform transform = QTransform::fromScale(UnitScaleX(), UnitScaleY());
    if (painter_.worldTransform() != transform) painter_.setWorldTransform(transform);
    QPen pen(Qt::black);
    pen.setWidthF(PenWidth());
    painter_.setPen(pen);
    SetBrush(ToQColor(BrushColour()));
}

void TQtCanvas::SetBrush(const QColor &colour) {
    const QBrush &brush = painter_.brush();
    if (brush.style() != Qt::SolidPattern || brush.color() != colour || !brush.transform().isIdentity())
        painter_.setBrush(colour);
}

const QFont &TQtCanvas::PainterFont(const TCanvasFont &f, std::string &key) {
    key = f.Name;
    key += '\0';
    key.append(reinterpret_cast<const char *>(&f.Size), sizeof f.Size);
    key += f.FixedPitch ? 'F' : 'P';
    key += f.Bold ? 'B' : 'N';
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        QFont font(ToQString(f.Name));
        font.setPointSizeF(f.Size);
        font.setFixedPitch(f.FixedPitch);
        font.setBold(f.Bold);
        // Kerning would move the fixed-pitch columns.
        font.setKerning(false);
        // The font as the painter resolves it for the device.
        painter_.setFont(font);
        painterFont_ = key;
        found = fonts_.emplace(key, painter_.font()).first;
    }
    return found->second;
}

void TQtCanvas::DrawText(int x, int y, std::string_view utf8) {
    if (!Ready()) return;
    ApplyState();
    const TCanvasFont &f = Font();
    std::string key;
    const QFont &font = PainterFont(f, key);
    const TTextShape &shape = shapes_->Shape(key, font, utf8);
    // The background as fillRect draws it, without setting the brush twice.
    painter_.setPen(Qt::NoPen);
    painter_.drawRect(QRectF(x, y, shape.width, shape.height));
    painter_.setPen(ToQColor(f.Colour));
    const QPointF baseline(x, y + shape.ascent);
    if (shape.laidOut) {
        for (const QGlyphRun &run : shape.glyphs) painter_.drawGlyphRun(baseline, run);
        return;
    }
    if (painterFont_ != key) {
        painter_.setFont(font);
        painterFont_ = key;
    }
    painter_.drawText(baseline, ToQString(utf8));
}

void TQtCanvas::DrawLine(int x1, int y1, int x2, int y2) {
    if (!Ready()) return;
    ApplyState();
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void TQtCanvas::DrawRectangle(const TRect &rect) {
    if (!Ready()) return;
    ApplyState();
    painter_.drawRect(QRectF(rect.Left, rect.Top, rect.Right - rect.Left - 1, rect.Bottom - rect.Top - 1));
}

void TQtCanvas::DrawChart(const TCanvasChart &chart, const TRect &rect) {
    if (!Ready()) return;
    const auto *painted = dynamic_cast<const TQtCanvasChart *>(&chart);
    if (painted == nullptr) return;
    ApplyState();
    painter_.save();
    painted->Paint(painter_, QRectF(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top));
    painter_.restore();
}

}  // namespace dorv::print
