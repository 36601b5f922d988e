// The quality library given arbitrary packed records: the geometry, the
// parameters and one sample straight from the input, the flags and results
// written into records of their own size so the sanitizer sees any write
// beyond them.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz_support.h"
#include "kxcurrent.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    corvan::fuzz::Input in(bytes, size);
    CurrentDataInfo info;
    CurrentQualityParams params;
    in.Fill(&info, sizeof info);
    in.Fill(&params, sizeof params);
    // Separate heap blocks of exactly the records' sizes.
    auto sample = std::make_unique<CurrentSample>();
    auto flags = std::make_unique<CurrentQualityFlags>();
    auto result = std::make_unique<CurrentQualityResult>();
    in.Fill(sample.get(), sizeof(CurrentSample));
    KXSetCurrentDataInfo(&info);
    KXCurrentQuality(&params, sample.get(), flags.get(), result.get());
    // A second profile against the same geometry, as a conversion does.
    KXCurrentQuality(&params, sample.get(), flags.get(), result.get());

    // The converter writes these into measurement files as they come: a
    // value that is not a number must have become the invalid marker.
    const int cells = std::clamp<int>(info.cells, 0, kMaxCells);
    for (int c = 0; c < cells; ++c) {
        const float speed = result->speed[c];
        const float direction = result->direction[c];
        if (std::isnan(speed) || std::isnan(direction)) __builtin_trap();
        if (direction != kInvalidResult && (direction < 0.0f || direction >= 360.0f)) __builtin_trap();
    }
    return 0;
}
