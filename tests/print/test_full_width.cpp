#include "print/full_width.h"

#include "workbook/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace dorv {
namespace {

TEST(ToFullWidth, DigitsAndLettersBecomeTheirFullWidthCp932Forms) {
    struct Case {
        std::string text;
        std::string cp932;  // the bytes of the result
    };
    const Case cases[] = {
        {"3", "\x82\x52"},
        {"5", "\x82\x54"},
        {"10", "\x82\x50\x82\x4f"},
        {"A", "\x82\x60"},
        {"C", "\x82\x62"},
        {"Z", "\x82\x79"},
        {"a", "\x82\x81"},
        {"z", "\x82\x9a"},
        {"", ""},
    };
    for (const auto &c : cases) EXPECT_EQ(cp932::fromUtf8(ToFullWidth(c.text)), c.cp932) << c.text;
}

TEST(ToFullWidth, OtherBytesHaveNoFormAndTheTextIsCutAt80Bytes) {
    const std::string none = "\xEF\xBF\xBD";
    EXPECT_EQ(ToFullWidth(" "), none);
    EXPECT_EQ(ToFullWidth("+-"), none + none);
    EXPECT_EQ(ToFullWidth("A+"), "Ａ" + none);
    EXPECT_EQ(ToFullWidth("あ"), none + none);  // two CP932 bytes, two marks
    EXPECT_EQ(ToFullWidth(std::string(81, '1')), [] {
        std::string s;
        for (int i = 0; i < 80; ++i) s += "１";
        return s;
    }());
}

}  // namespace
}  // namespace dorv
