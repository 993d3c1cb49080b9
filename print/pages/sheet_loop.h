// What the per-student sheets (individual result sheet, conference sheet)
// share: the loop over every student of the grade, one page each, and the
// check of the class and number typed for a single sheet.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "print/layer/canvas.h"

namespace dorv {

class TNameData;

// For class 1..classCount (held to 0..10) and number 1..42, `sheet`(class,
// number) for every slot with a roster name, a new page between consecutive
// sheets: one page per student, no page for a free slot, no blank page at
// the end.
void PrintAllStudents(print::TCanvas &canvas, const TNameData &names, int classCount,
                      const std::function<void(int classNo, int number)> &sheet);

// Whether PrintAllStudents would print a sheet at all.
bool AnyStudent(const TNameData &names, int classCount);

inline constexpr std::string_view kBadClassNumberMessage = "組、番号が正しくありません";

// The class and number of a single sheet from the texts of the two edit
// boxes. A text that is not a whole number raises ConvertError ("'%s' は整数
// ではありません"); a class outside 1..classCount or a number outside 1..42
// gives nullopt, for which the form shows kBadClassNumberMessage and prints
// nothing.
std::optional<std::pair<int, int>> OneSheetClassNumber(std::string_view classText, std::string_view numberText,
                                                       int classCount);

}  // namespace dorv
