// The rules of a rating entry, apart from the form: what a typed text
// changes in a student's rating and viewpoint marks, and when a rating
// disagrees with the sum of its marks (the row drawn red).
#pragma once

#include "schooldata/hyotei_data.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace dorv {

// What one entry writes: a new rating and/or new marks [viewpoint 1..6]
// (255 for an emptied value); what is not typed, and a refused value (a
// letter other than A, B, C; a rating out of range), stays unset.
struct HyoteiEntry {
    std::optional<std::uint8_t> rating;
    std::array<std::optional<std::uint8_t>, 7> marks{};  // [0] unused
};

struct HyoteiEntryRules {
    int viewpoints = 0;         // 0..6 viewpoint columns of the subject
    bool zeroWithMarks = true;  // a rating 0 typed with marks is kept (register)
};

// The entry of `typed` into grid column `column` (3 the rating, 3 + j the
// viewpoint j). Letters count upper-cased; a mark is 'A', 'B' or 'C'. A
// rating character that is not a digit raises ConvertError before anything
// is decided, so such an entry changes nothing.
HyoteiEntry ParseHyoteiEntry(const QString &typed, int column, const HyoteiEntryRules &rules);

// Writes an entry into a record.
void ApplyHyoteiEntry(const HyoteiEntry &entry, THyoteiRec &rec);

// The cell texts of a record: the rating ("" above 10), a mark ("" unless
// 'A', 'B' or 'C').
QString RatingCellText(std::uint8_t rating);
QString MarkCellText(std::uint8_t mark);

// True when a row's rating cell and its mark cells disagree: `rating` is
// the rating cell's text, `marks` the texts of its `viewpoints` mark cells.
// An empty mark, a rating other than 1..5 or a subject without viewpoints
// never disagree.
bool RatingDisagrees(const QString &rating, const std::array<QString, 6> &marks, int viewpoints);

}  // namespace dorv
