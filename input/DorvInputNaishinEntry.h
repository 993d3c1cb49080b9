// The rules of a school-report mark entry, apart from the form: what a
// typed mark means and how the mean of the marks reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorv {

struct MarkEntry {
    enum class Kind {
        Store,    // `value` becomes the stored byte (255 for an empty text)
        Refused,  // a whole number outside 0..5: nothing changes
    };
    Kind kind = Kind::Store;
    std::uint8_t value = 255;
};

// "" gives Store 255; a whole number 0..5 gives Store with it; any other
// whole number, negative ones included, gives Refused. A text that is not a
// whole number raises ConvertError.
MarkEntry ParseMarkEntry(std::string_view text);

// "平均　" and the mean sum / count with two decimals, rounded half away
// from zero from the exact quotient; "平均　0.00" when nothing is counted.
std::string MarkMeanLabel(std::int64_t sum, std::int64_t count);

}  // namespace dorv
