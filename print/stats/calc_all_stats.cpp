// The statistics of every subject of a score set, over every slot of the
// grade's classes whether or not the roster names a student there; the
// parent-conference sheet compares a student with them.
#include <algorithm>

#include "schooldata/soten_data.h"

namespace dorv {

void TSotenData::CalcAllStats(uint8_t classCount) {
    SubjStats = TSubjStats{};
    const int classes = std::min<int>(classCount, 10);
    for (int c = 1; c <= classes; ++c) {
        for (int n = 1; n <= 42; ++n) {
            const int slot = (c - 1) * 42 + n;
            int32_t &total5 = SubjStats.Total5[slot];
            for (int j = 0; j <= 8; ++j) {
                const int x = Score[slot][j];
                if (x <= 100) {
                    SubjStats.SubjCount[j] += 1;
                    SubjStats.SubjSum[j] += x;
                    if (j <= 4)
                        total5 += x;
                } else if (j <= 4) {
                    total5 = 1000;
                }
            }
            if (total5 <= 500) {
                SubjStats.Total5Count += 1;
                SubjStats.Total5Sum += total5;
            }
        }
    }
    for (int j = 0; j <= 8; ++j) {
        if (SubjStats.SubjCount[j] > 0)
            SubjStats.SubjMean[j] =
                static_cast<float>(static_cast<double>(SubjStats.SubjSum[j]) / SubjStats.SubjCount[j]);
    }
}

}  // namespace dorv
