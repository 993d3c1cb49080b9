// The canvas's page rule, and the Qt job writing A4 PDF pages with text
// placed by its top-left corner on an opaque background, where the
// painter's own text drawing puts it.
#include "print/layer/print_job.h"
#include "print/layer/qt_canvas.h"
#include "print/layer/recording_canvas.h"

#include "no_printer.h"
#include "pdf_tools.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTemporaryDir>

#include <stdexcept>
#include <string>
#include <vector>

namespace dorv::print {
namespace {

// A script of canvas calls: 'T' draws a text, 'L' a line, 'R' a rectangle,
// 'N' asks for a new page.
void Play(TCanvas &canvas, const std::string &script) {
    int n = 0;
    for (char c : script) {
        switch (c) {
        case 'T':
            ++n;
            canvas.TextOut(10, 10 * n, "t" + std::to_string(n));
            break;
        case 'L': canvas.Line(0, 0, 10, 10); break;
        case 'R': canvas.Rectangle({0, 0, 10, 10}); break;
        case 'N': canvas.NewPage(); break;
        }
    }
}

TEST(Canvas, PagesStartOnlyWhenSomethingIsDrawnOnThem) {
    struct Case {
        const char *script;
        int pages;
        std::vector<int> pageOfEachDrawing;
    };
    const Case cases[] = {
        {"", 0, {}},
        {"N", 0, {}},
        {"NN", 0, {}},
        {"T", 1, {1}},
        {"TN", 1, {1}},  // no blank page after the last drawing
        {"TNT", 2, {1, 2}},
        {"TTNTNT", 3, {1, 1, 2, 3}},
        {"NT", 2, {2}},           // a break asked for before anything: page 1 stays blank
        {"TNNT", 3, {1, 3}},      // two breaks in a row: a blank page between
        {"LNRNT", 3, {1, 2, 3}},  // lines and rectangles start pages too
    };
    for (const auto &c : cases) {
        TRecordingCanvas canvas;
        Play(canvas, c.script);
        EXPECT_EQ(canvas.PageCount(), c.pages) << c.script;
        std::vector<int> pages;
        for (const auto &op : canvas.Ops()) pages.push_back(op.Page);
        EXPECT_EQ(pages, c.pageOfEachDrawing) << c.script;
    }
}

TEST(Canvas, RecordsTheStateEachDrawingWasMadeIn) {
    TRecordingCanvas canvas;
    TCanvasFont font;
    font.Name = std::string(kMsGothic);
    font.Size = 12;
    font.FixedPitch = true;
    canvas.SetFont(font);
    canvas.SetBrushColour(kSilver);
    canvas.TextOut(300, 3950, "  85");
    canvas.SetBrushColour(kWhite);
    canvas.SetPenWidth(3);
    canvas.Rectangle({100, 200, 1900, 720});
    canvas.SetPenWidth(0);  // a pen is at least one pixel wide
    canvas.SetUnitScale(1400.0 / 297, 1100.0 / 209);
    canvas.Line(1, 2, 3, 4);

    const auto &ops = canvas.Ops();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].What, TCanvasOp::Kind::Text);
    EXPECT_EQ(ops[0].Text, "  85");  // leading blanks kept
    EXPECT_EQ(ops[0].X, 300);
    EXPECT_EQ(ops[0].Y, 3950);
    EXPECT_EQ(ops[0].Font, font);
    EXPECT_EQ(ops[0].Brush, kSilver);
    EXPECT_EQ(ops[1].What, TCanvasOp::Kind::Rectangle);
    EXPECT_EQ((TRect{ops[1].X, ops[1].Y, ops[1].X2, ops[1].Y2}), (TRect{100, 200, 1900, 720}));
    EXPECT_EQ(ops[1].PenWidth, 3);
    EXPECT_EQ(ops[1].Brush, kWhite);
    EXPECT_EQ(ops[2].PenWidth, 1);
    EXPECT_DOUBLE_EQ(ops[2].ScaleX, 1400.0 / 297);
    EXPECT_DOUBLE_EQ(ops[2].ScaleY, 1100.0 / 209);
}

// A chart that fills its rectangle, to see where the canvas puts it.
class TFilledChart : public TQtCanvasChart {
public:
    std::string Label() const override { return "filled"; }
    void Paint(QPainter &painter, const QRectF &target) const override { painter.fillRect(target, Qt::red); }
};

// The PDF side of the job: HOME points into a temporary folder so the
// documents folder is a fresh one.
class PrintJobPdf : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        savedHome_ = qgetenv("HOME");
        savedConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
    }
    void TearDown() override {
        qputenv("HOME", savedHome_);
        if (savedConfig_.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
        else qputenv("XDG_CONFIG_HOME", savedConfig_);
    }
    QStringList Pdfs() const {
        return QDir(home_.filePath("Documents/Dorv")).entryList({"*.pdf"}, QDir::Files, QDir::Name);
    }

    dorv::testing::NoPrinterScope noPrinter_;
    QTemporaryDir home_;
    QByteArray savedHome_, savedConfig_;
};

TEST_F(PrintJobPdf, NothingDrawnWritesNoFile) {
    TPrintJob job("成績一覧表", TOrientation::Landscape);
    job.Canvas().NewPage();
    job.End();
    EXPECT_EQ(job.PageCount(), 0);
    EXPECT_FALSE(QFileInfo::exists(job.PdfPath()));
    EXPECT_TRUE(Pdfs().isEmpty());
}

TEST_F(PrintJobPdf, AJobThatCannotStartRaisesAtTheFirstDrawing) {
    // The documents folder's "Dorv" is a file: no PDF can be written there.
    ASSERT_TRUE(QDir().mkpath(home_.filePath("Documents")));
    QFile blocker(home_.filePath("Documents/Dorv"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TPrintJob job("成績一覧表", TOrientation::Landscape);
    // The message names the file that could not be written.
    try {
        job.Canvas().TextOut(0, 0, "x");
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "印刷を開始できません。ファイル " + job.PdfPath() + " を作成できません");
        EXPECT_TRUE(job.PdfPath().startsWith(home_.filePath("Documents/Dorv/成績一覧表_")));
    }
    EXPECT_EQ(job.PageCount(), 0);
    job.End();
}

TEST_F(PrintJobPdf, WritesA4PagesInTheOrientationAsked) {
    struct Case {
        TOrientation orientation;
        const char *size;
    };
    for (const Case c :
         {Case{TOrientation::Landscape, "842 x 595 pts (A4)"}, Case{TOrientation::Portrait, "595 x 842 pts (A4)"}}) {
        QString path;
        {
            TPrintJob job("個人票", c.orientation);
            EXPECT_EQ(job.Canvas().DpiX(), 600);
            EXPECT_EQ(job.Canvas().DpiY(), 600);
            // A4 inside 5 mm margins: 200 x 287 mm.
            const int across = c.orientation == TOrientation::Portrait ? 200 : 287;
            const int down = c.orientation == TOrientation::Portrait ? 287 : 200;
            EXPECT_NEAR(job.Canvas().PageWidth(), across / 25.4 * 600, 5);  // Qt rounds A4 to whole points
            EXPECT_NEAR(job.Canvas().PageHeight(), down / 25.4 * 600, 5);
            job.Canvas().TextOut(0, 0, "一頁目");
            job.Canvas().NewPage();
            job.Canvas().TextOut(0, 0, "二頁目");
            job.Canvas().NewPage();
            path = job.PdfPath();
        }  // the job ends with its scope
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith("個人票_")) << path.toStdString();
        const QString info = dorv::testing::PdfInfo(path);
        EXPECT_TRUE(info.contains(c.size)) << info.toStdString();
        EXPECT_EQ(dorv::testing::PdfPageCount(path), 2);
        EXPECT_TRUE(dorv::testing::PdfText(path, 1).contains("一頁目"));
        EXPECT_TRUE(dorv::testing::PdfText(path, 2).contains("二頁目"));
    }
    EXPECT_EQ(Pdfs().size(), 2);  // two jobs within a second keep both files
}

TEST_F(PrintJobPdf, TextSitsByItsTopLeftCornerOnItsBrushColourInAnIpaFont) {
    TPrintJob job("layout", TOrientation::Portrait);
    TCanvas &canvas = job.Canvas();
    TCanvasFont font;
    font.Name = std::string(kMsMincho);
    font.Size = 24;
    font.FixedPitch = true;
    canvas.SetFont(font);
    canvas.SetBrushColour(kSilver);
    canvas.TextOut(600, 1200, "WMW  ");  // one inch across, two down; blanks count
    canvas.SetBrushColour(kWhite);
    TFilledChart chart;
    canvas.Chart(chart, {1200, 3000, 2400, 3600});
    job.End();
    const QString pdf = job.PdfPath();

    // The printable area starts at the 5 mm margins: 14.17 points.
    const double margin = TPrintJob::kMarginMm / 25.4 * 72;
    double x0, y0, x1, y1;
    ASSERT_TRUE(dorv::testing::WordBox(dorv::testing::PdfBboxes(pdf), "WMW", x0, y0, x1, y1));
    EXPECT_NEAR(x0, margin + 72, 1.5);
    EXPECT_NEAR(y0, margin + 144, 1.5);   // the top, not the baseline, at y
    EXPECT_NEAR(y1 - y0, 24 * 1.0, 8.0);  // a 24-point line
    EXPECT_NEAR(x1 - x0, 3 * 12, 1.5);    // fixed pitch: half-width is half of 24 points

    const QString fonts = dorv::testing::PdfFonts(pdf);
    EXPECT_TRUE(fonts.contains("IPAMincho")) << fonts.toStdString();
    EXPECT_TRUE(dorv::testing::AllFontsEmbedded(fonts)) << fonts.toStdString();

    // At 60 dpi one device pixel of 600 is a tenth of a rendered pixel.
    const QImage page = dorv::testing::PdfPage(pdf, 1, 60, home_.filePath("page"));
    ASSERT_FALSE(page.isNull());
    const int mx = qRound(margin / 72 * 60);
    auto px = [&](int deviceX, int deviceY) { return page.pixelColor(mx + deviceX / 10, mx + deviceY / 10); };
    // The silver reaches over the two trailing blanks, and not below the line.
    EXPECT_EQ(px(600 + 5 * 100 - 20, 1200 + 20), QColor(192, 192, 192));
    EXPECT_EQ(px(600 + 5 * 100 + 40, 1200 + 20), QColor(Qt::white));
    EXPECT_EQ(px(620, 1200 + 250), QColor(Qt::white));
    // The chart fills its rectangle and nothing outside it.
    EXPECT_EQ(px(1800, 3300), QColor(Qt::red));
    EXPECT_EQ(px(1100, 3300), QColor(Qt::white));
    EXPECT_EQ(px(2500, 3300), QColor(Qt::white));
}

// A text as a sheet draws it: where, in which font, on which colour.
struct TTextCase {
    int x, y;
    double scaleX, scaleY;
    TCanvasFont font;
    TColour brush;
    std::string text;
};

TCanvasFont FontOf(std::string_view name, double size, bool fixedPitch = false, TColour colour = kBlack) {
    return {std::string(name), size, fixedPitch, false, colour};
}

// The texts drawn straight with the painter's own text drawing at a point,
// on a background filled as wide as the font metrics' advance.
class TPainterTexts : public TQtCanvasChart {
public:
    explicit TPainterTexts(const std::vector<TTextCase> &texts) : texts_(texts) {}
    std::string Label() const override { return "texts"; }
    void Paint(QPainter &painter, const QRectF &) const override {
        for (const TTextCase &t : texts_) {
            painter.setWorldTransform(QTransform::fromScale(t.scaleX, t.scaleY));
            QFont font(QString::fromStdString(t.font.Name));
            font.setPointSizeF(t.font.Size);
            font.setFixedPitch(t.font.FixedPitch);
            font.setBold(t.font.Bold);
            font.setKerning(false);
            painter.setFont(font);
            const QString text = QString::fromStdString(t.text);
            const QFontMetricsF metrics(painter.font(), painter.device());
            painter.fillRect(QRectF(t.x, t.y, metrics.horizontalAdvance(text), metrics.height()),
                             QColor(t.brush.Red, t.brush.Green, t.brush.Blue));
            painter.setPen(QColor(t.font.Colour.Red, t.font.Colour.Green, t.font.Colour.Blue));
            painter.drawText(QPointF(t.x, t.y + metrics.ascent()), text);
        }
    }

private:
    const std::vector<TTextCase> &texts_;
};

TEST_F(PrintJobPdf, TextLandsWhereThePaintersOwnTextDrawingPutsIt) {
    const double kojinX = 1400.0 / 297, kojinY = 1100.0 / 209;
    const std::vector<TTextCase> texts = {
        // Blanks before and after count for the background.
        {300, 3950, 1, 1, FontOf(kMsGothic, 12, true), kSilver, "   85   90            "},
        {1000, 200, 1, 1, FontOf(kMsPGothic, 24), kWhite, "令和08年度２学期懇談資料"},
        {300, 4100, 1, 1, FontOf(kMsGothic, 12, true), kSilver, "　　　　　　平均    62    70"},
        {2840, 810, 1, 1, FontOf(kMsPGothic, 8), kWhite, "観点の項目その1"},
        {100, 700, 1, 1, FontOf(kMsMincho, 10, true), kWhite, " 1042 ｱｲｳｴｵ ABC（１）  62.3"},
        // The individual result sheet's units: glyphs stretched with them.
        {200, 40, kojinX, kojinY, FontOf(kMsMincho, 4), kWhite, "令和08年度学年末総まとめテスト個人結果"},
        {100, 120, kojinX, kojinY, FontOf(kMsMincho, 2), kWhite,
         "　　　　国語　社会　数学　理科　英語　音楽　美術　保体　技家　５計　５平均"},
        {661, 150, kojinX, kojinY, FontOf(kMsMincho, 2), kWhite, "84.6"},
        // A text met again and again, elsewhere, on another colour, in
        // other units.
        {300, 4400, 1, 1, FontOf(kMsGothic, 12, true), kWhite, "   85   90            "},
        {300, 4550, 1, 1, FontOf(kMsGothic, 12, true), kSilver, "   85   90            "},
        {100, 3500, 2, 1.5, FontOf(kMsGothic, 12, true), kSilver, "   85   90            "},
        {165, 650, kojinX, kojinY, FontOf(kMsMincho, 2), kWhite, "84.6"},
        {300, 5000, 1, 1, FontOf(kMsGothic, 14, false, {0, 0, 128}), kSilver, "紺の文字 Navy"},
    };
    QString canvasPdf, painterPdf;
    {
        TPrintJob job("canvas", TOrientation::Portrait);
        for (const TTextCase &t : texts) {
            job.Canvas().SetUnitScale(t.scaleX, t.scaleY);
            job.Canvas().SetFont(t.font);
            job.Canvas().SetBrushColour(t.brush);
            job.Canvas().TextOut(t.x, t.y, t.text);
        }
        job.End();
        canvasPdf = job.PdfPath();
    }
    {
        TPrintJob job("painter", TOrientation::Portrait);
        const TPainterTexts reference(texts);
        job.Canvas().Chart(reference, {0, 0, 1, 1});
        job.End();
        painterPdf = job.PdfPath();
    }
    EXPECT_EQ(dorv::testing::PdfDifference(canvasPdf, painterPdf, 150, home_.filePath("page")).toStdString(), "");
}

}  // namespace
}  // namespace dorv::print
