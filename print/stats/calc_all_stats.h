// The statistics of every subject of a score set, over every slot of the
// grade's classes whether or not the roster names a student there; the
// parent-conference sheet compares a student with them.
#pragma once

#include <cstdint>

namespace dorv {

class TSotenData;

// Fills scores.SubjStats from the scores of classes 1..classCount (at most
// 10).
void CalcAllStats(TSotenData &scores, std::uint8_t classCount);

}  // namespace dorv
