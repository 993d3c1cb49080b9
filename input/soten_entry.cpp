#include "input/soten_entry.h"

#include "schooldata/convert.h"
#include "schooldata/numfmt.h"
#include "workbook/cp932.h"

namespace dorv {

namespace {

constexpr std::size_t kCellWidth = 4;
constexpr int kMaxScore = 100;

}  // namespace

std::string ScoreCellText(std::uint8_t value) {
    if (value == kEmptyValue) return {};
    return PadEntryText(std::to_string(value));
}

std::string PadEntryText(std::string_view text) {
    const std::size_t w = cp932::width(text);
    if (w >= kCellWidth) return std::string(text);
    return std::string(kCellWidth - w, ' ') + std::string(text);
}

std::string SlotNumberText(int slot) {
    const int classNo = (slot - 1) / 42 + 1;
    const int number = (slot - 1) % 42 + 1;
    return " " + std::to_string(classNo * 100 + number);
}

ScoreEntry ParseWholeEntry(std::string_view text, int highest) {
    if (text.empty()) return {ScoreEntry::Kind::Store, kEmptyValue};
    const std::int32_t n = StrictInt(text);
    // A negative number would wrap into a byte above the highest value and
    // silently read as "no value"; it is refused like a number too high.
    if (n < 0 || n > highest) return {ScoreEntry::Kind::Refused, kEmptyValue};
    return {ScoreEntry::Kind::Store, static_cast<std::uint8_t>(n)};
}

ScoreEntry ParseScoreEntry(std::string_view text) { return ParseWholeEntry(text, kMaxScore); }

TechHomeSum SumTechHome(std::uint8_t tech, std::uint8_t home) {
    if (tech == kEmptyValue && home == kEmptyValue) return {};
    const int sum = (tech == kEmptyValue ? 0 : tech) + (home == kEmptyValue ? 0 : home);
    return {std::to_string(sum), ValueByte(sum)};
}

std::string MeanLabel(std::string_view prefix, std::int64_t sum, std::int64_t count) {
    std::string label(prefix);
    if (count <= 0 || sum <= 0) return label;
    return label + FormatNumber("##.#", static_cast<double>(sum) / static_cast<double>(count));
}

}  // namespace dorv
