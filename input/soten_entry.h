// The rules of a raw-score entry, apart from the form: how a score reads in
// its cell, what a typed text means, the 技家 sum of 技術 and 家庭, and the
// average labels. Texts are UTF-8; widths are CP932 byte counts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorv {

// The cell of a stored score: "" for no value (255), otherwise the decimal
// digits right-aligned in four positions ("  85", " 100", "   7").
std::string ScoreCellText(std::uint8_t value);

// A typed text as its cell shows it: blanks in front up to four positions;
// a text of four or more positions is kept as it is (" 085" for "085").
std::string PadEntryText(std::string_view text);

// The number cell of a slot: a blank and class x 100 + number (" 101",
// " 1001" for class 10).
std::string SlotNumberText(int slot);

// What a typed whole-number entry (a score, a mark) means.
struct ScoreEntry {
    enum class Kind {
        Store,    // `value` becomes the stored byte (255 for an empty text)
        Refused,  // a whole number outside 0..highest: nothing changes
    };
    Kind kind = Kind::Store;
    std::uint8_t value = 255;
};

// "" gives Store 255; a whole number (leading blanks and a sign allowed)
// from 0 to `highest` (at most 254) gives Store with it; any other whole
// number, negative ones included, gives Refused. A text that is not a whole
// number raises ConvertError.
ScoreEntry ParseWholeEntry(std::string_view text, int highest);

// A typed raw score: ParseWholeEntry up to 100.
ScoreEntry ParseScoreEntry(std::string_view text);

// 技家 from the stored 技術 and 家庭 bytes, an empty one (255) counting as 0.
// Both empty give no sum. `shown` is the sum's cell text (no padding, "" for
// no sum); `value` the byte held for 技家, where a sum above 100 means no
// score like any value above 100 and one beyond a byte is held as 255.
struct TechHomeSum {
    std::string shown;
    std::uint8_t value = 255;
};
TechHomeSum SumTechHome(std::uint8_t tech, std::uint8_t home);

// `prefix` followed by the mean sum / count in the "##.#" pattern; the
// prefix alone when nobody has a score or the mean is 0. The mean is the
// exact quotient, so a class mean of 61.05 reads 61.1.
std::string MeanLabel(std::string_view prefix, std::int64_t sum, std::int64_t count);

}  // namespace dorv
