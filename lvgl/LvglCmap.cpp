#include "lvgl/LvglCmap.h"

#include <algorithm>
#include <limits>
#include <vector>

QList<LvglCmapRange> planCmap(const QList<uint> &codes)
{
    constexpr int header = 16;
    struct Step
    {
        qint64 size = std::numeric_limits<qint64>::max();
        int start = 0;
        LvglCmapType type = LvglCmapType::SparseTiny;
    };
    const int count = int(codes.size());
    std::vector<Step> best(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Step step;
        // No subtable spans 65536 code points: earlier starts cannot end here.
        const int from = int(std::lower_bound(codes.begin(), codes.end(), codes[i] >= 65535 ? codes[i] - 65535 : 0u) -
                             codes.begin());
        for (int j = from; j <= i; ++j) {
            const qint64 before = j > 0 ? best[size_t(j - 1)].size : 0;
            const uint span = codes[i] - codes[j];
            const auto consider = [&](qint64 size, LvglCmapType type) {
                if (before + size < step.size)
                    step = {before + size, j, type};
            };
            if (span < 256) {
                consider(header + span + 1, LvglCmapType::Format0Full);
                if (span == uint(i - j))
                    consider(header, LvglCmapType::Format0Tiny);
            }
            consider(header + 2 * qint64(i - j + 1), LvglCmapType::SparseTiny);
        }
        best[size_t(i)] = step;
    }
    QList<LvglCmapRange> ranges;
    for (int i = count - 1; i >= 0; i = best[size_t(i)].start - 1)
        ranges.prepend({best[size_t(i)].type, best[size_t(i)].start, i});
    return ranges;
}
