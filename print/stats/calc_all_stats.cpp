#include "print/stats/calc_all_stats.h"

#include <algorithm>

#include "schooldata/access.h"
#include "schooldata/soten_data.h"

namespace dorv {

void CalcAllStats(TSotenData &scores, std::uint8_t classCount) {
    TSubjStats &stats = scores.SubjStats;
    stats = TSubjStats{};
    const int classes = std::min<int>(classCount, 10);
    for (int c = 1; c <= classes; ++c) {
        for (int n = 1; n <= kStudentsPerClass; ++n) {
            const int slot = SlotOf(c, n);
            int32_t &total5 = stats.Total5[slot];
            for (int j = 0; j <= 8; ++j) {
                const int x = scores.Score[slot][j];
                if (x <= 100) {
                    stats.SubjCount[j] += 1;
                    stats.SubjSum[j] += x;
                    if (j <= 4) total5 += x;
                } else if (j <= 4) {
                    total5 = 1000;
                }
            }
            if (total5 <= 500) {
                stats.Total5Count += 1;
                stats.Total5Sum += total5;
            }
        }
    }
    for (int j = 0; j <= 8; ++j) {
        if (stats.SubjCount[j] > 0)
            stats.SubjMean[j] = static_cast<float>(static_cast<double>(stats.SubjSum[j]) / stats.SubjCount[j]);
    }
}

}  // namespace dorv
