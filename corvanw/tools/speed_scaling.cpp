#include "tools/speed_scaling.h"

#include <algorithm>

namespace corvan {

int ScaleSpeeds(DataSet& data, int first, int last, double factor) {
    first = std::max(first, 0);
    last = std::min(last, data.HeaderCount() - 1);
    int changed = 0;
    for (int i = first; i <= last; ++i) {
        MeasurementRecord& r = data.records[static_cast<std::size_t>(i)];
        if (!IsValid(r.speed)) continue;
        r.speed = static_cast<float>(static_cast<double>(r.speed) * factor);
        ++changed;
    }
    return changed;
}

}  // namespace corvan
