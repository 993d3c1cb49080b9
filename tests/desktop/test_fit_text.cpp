// Texts fitted into a room of fixed width: kept, shed of their padding,
// shrunk down to a size that reads, or cut short; and a label that shows
// one, a text at a time.
#include "desktop/fit_text.h"
#include "desktop/fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>

#include <gtest/gtest.h>

namespace dorv {
namespace {

int Px(const QFont &font) { return QFontInfo(font).pixelSize(); }

TEST(FitText, KeepsShedsShrinksOrCutsShort) {
    enum class Outcome { Kept, Shed, Shrunk, CutShort };
    struct Case {
        const char *what;
        QString family;
        int px;
        QString text;
        int room;
        Outcome outcome;
    };
    // 98 is a selection grid's 100-px column less the text's 2-px inset.
    const Case cases[] = {
        {"a heading", kMsPGothic, 19, "１年", 98, Outcome::Kept},
        {"an empty cell", kMsPGothic, 19, "", 98, Outcome::Kept},
        {"the sample school's year-end test", kMsPGothic, 19, "学年末総まとめ", 98, Outcome::Shrunk},
        {"a name of 40 bytes", kMsPGothic, 19, "学年末総まとめ（一年間の学習内容の総復習", 98, Outcome::CutShort},
        {"a number of class 1", kMsGothic, 12, " 101", 26, Outcome::Kept},
        {"a number of class 10", kMsGothic, 12, " 1042", 26, Outcome::Shed},
        {"no room even for the number", kMsGothic, 12, " 1042", 20, Outcome::CutShort},
        {"a font smaller than the smallest fitted one", kMsPGothic, 8, "保存しないで終了します", 40, Outcome::CutShort},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QFont font = UiFont(c.family, c.px);
        const FittedText fit = FitText(font, c.text, c.room);
        EXPECT_LE(QFontMetricsF(fit.font).horizontalAdvance(fit.text), c.room);
        EXPECT_EQ(fit.whole, c.outcome != Outcome::CutShort);
        EXPECT_EQ(fit.shrunk, c.outcome == Outcome::Shrunk || (c.outcome == Outcome::CutShort && c.px > 12));
        switch (c.outcome) {
        case Outcome::Kept:
            EXPECT_EQ(fit.text, c.text);
            EXPECT_EQ(Px(fit.font), c.px);
            break;
        case Outcome::Shed: EXPECT_EQ(fit.text, c.text.trimmed()); break;
        case Outcome::Shrunk:
            EXPECT_EQ(fit.text, c.text);
            EXPECT_LT(Px(fit.font), c.px);
            EXPECT_GE(Px(fit.font), kMinFittedTextPx);
            // As large as it fits: one pixel more would not.
            EXPECT_GT(QFontMetricsF(UiFont(c.family, Px(fit.font) + 1)).horizontalAdvance(c.text), c.room);
            break;
        case Outcome::CutShort:
            EXPECT_EQ(Px(fit.font), std::min(c.px, kMinFittedTextPx));
            EXPECT_TRUE(fit.text.endsWith(QChar(0x2026))) << fit.text.toStdString();
            EXPECT_TRUE(c.text.trimmed().startsWith(fit.text.chopped(1))) << fit.text.toStdString();
            break;
        }
    }
}

// The label is reused for every opening: a short text after a long one
// gets back the label's own size and loses the tool tip.
TEST(FitText, LabelShowsEachTextInItsOwnFit) {
    QLabel label;
    label.setFont(UiFont(kMsPGothic, 32));
    label.resize(397, 40);
    const QString longName = "3年  学年末総まとめ（一年間の学習内容の総復習";
    const QString longerName = longName + "と確認のための総合的な問題";

    SetFittedText(label, longName, 32);
    EXPECT_EQ(label.text(), longName);
    EXPECT_LT(Px(label.font()), 32);
    EXPECT_TRUE(label.toolTip().isEmpty());

    SetFittedText(label, longerName, 32);
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026)));
    EXPECT_EQ(label.toolTip(), longerName);

    SetFittedText(label, "3年  期末", 32);
    EXPECT_EQ(label.text(), "3年  期末");
    EXPECT_EQ(Px(label.font()), 32);
    EXPECT_TRUE(label.toolTip().isEmpty());
}

}  // namespace
}  // namespace dorv
