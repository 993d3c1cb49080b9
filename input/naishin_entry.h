// The rules of a school-report mark entry, apart from the form: what a
// typed mark means and how the mean of the marks reads.
#pragma once

#include "input/soten_entry.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dorv {

using MarkEntry = ScoreEntry;

// A typed mark: ParseWholeEntry up to 5.
MarkEntry ParseMarkEntry(std::string_view text);

// "平均　" and the mean sum / count with two decimals, rounded half away
// from zero from the exact quotient; "平均　0.00" when nothing is counted.
std::string MarkMeanLabel(std::int64_t sum, std::int64_t count);

}  // namespace dorv
