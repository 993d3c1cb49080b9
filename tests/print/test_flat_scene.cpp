// A frequency chart printed flat into a PDF page reads and looks exactly as
// the chart's scene renders itself there: every word at the same box, every
// pixel of the rendered page the same, through the states a grade's sheets
// take the chart through one after the other.
#include "print/layer/qt_canvas.h"
#include "print/views/dosu_chart.h"

#include "pdf_tools.h"

#include <gtest/gtest.h>

#include <QChart>
#include <QGraphicsScene>
#include <QPrinter>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace dorv {
namespace {

// The same chart drawn by QGraphicsScene::render.
class TRenderedChart : public print::TQtCanvasChart {
public:
    explicit TRenderedChart(const TDosuChart &chart) : chart_(chart) {}
    std::string Label() const override { return chart_.Label(); }
    void Paint(QPainter &painter, const QRectF &target) const override {
        chart_.frontSet();  // the bars handed over to the chart
        chart_.scene()->render(&painter, target, chart_.chart()->sceneBoundingRect(), Qt::IgnoreAspectRatio);
    }

private:
    const TDosuChart &chart_;
};

// A PDF at the print job's resolution, drawn through the Qt canvas.
struct TPdf {
    explicit TPdf(const QString &path) : printer(QPrinter::HighResolution) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setResolution(600);
        canvas = std::make_unique<print::TQtCanvas>(printer, "cannot start");
    }
    QPrinter printer;
    std::unique_ptr<print::TQtCanvas> canvas;
};

struct TState {
    const char *what;
    std::vector<int> grade;  // bands 0..9; empty for a subject without scores
    int studentBand;         // -1 for none
};

TEST(FlatChart, PrintsAsTheScenesOwnRenderingThroughASheetsStates) {
    // One page each, in the order a print meets them: the bars change from
    // student to student, the axes with the next subject's grade.
    const std::vector<TState> states = {
        {"the grade's bands", {3, 8, 20, 41, 77, 96, 72, 40, 15, 2}, -1},
        {"a student's band", {3, 8, 20, 41, 77, 96, 72, 40, 15, 2}, 5},
        {"the next student's band", {3, 8, 20, 41, 77, 96, 72, 40, 15, 2}, 0},
        {"a student in the top band", {3, 8, 20, 41, 77, 96, 72, 40, 15, 2}, 9},
        {"a smaller grade: the count axis only", {1, 2, 5, 10, 20, 48, 30, 12, 4, 1}, 5},
        {"other ticks, as wide as before", {1, 2, 5, 10, 20, 58, 30, 12, 4, 1}, 5},
        {"another grade, other axes", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 3},
        {"no scores", {}, -1},
        {"scores again", {12, 0, 5, 9, 30, 44, 18, 7, 1, 0}, 4},
    };
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString flatPath = folder.filePath("flat.pdf"), renderedPath = folder.filePath("rendered.pdf");
    {
        TDosuChart chart("国語");
        const TRenderedChart rendered(chart);
        TPdf flat(flatPath), reference(renderedPath);
        bool first = true;
        for (const TState &s : states) {
            chart.clearSeries(0);
            chart.clearSeries(1);
            for (std::size_t b = 0; b < s.grade.size(); ++b) {
                const int position = 10 * static_cast<int>(b) + 5;
                chart.addBar(0, position, s.grade[b]);
                chart.addBar(1, position, static_cast<int>(b) == s.studentBand ? s.grade[b] : 0);
            }
            if (!first) {
                flat.canvas->NewPage();
                reference.canvas->NewPage();
            }
            first = false;
            // Where the individual result sheet puts its first chart, and
            // one at places of no round figure.
            for (const print::TRect &r : {print::TRect{500, 1100, 1900, 2200}, print::TRect{2513, 3307, 3911, 4406}}) {
                flat.canvas->Chart(chart, r);
                reference.canvas->Chart(rendered, r);
            }
        }
        flat.canvas->Finish();
        reference.canvas->Finish();
    }
    ASSERT_EQ(testing::PdfPageCount(flatPath), static_cast<int>(states.size()));
    std::string pages;
    for (std::size_t i = 0; i < states.size(); ++i) pages += "\npage " + std::to_string(i + 1) + ": " + states[i].what;
    EXPECT_EQ(testing::PdfDifference(flatPath, renderedPath, 150, folder.filePath("page")).toStdString(), "") << pages;
}

}  // namespace
}  // namespace dorv
