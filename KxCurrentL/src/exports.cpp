// The library's two entries. The geometry is process-wide by contract: the
// converter sets it once per conversion and evaluates many profiles with it.

#include "kxcurrent.h"
#include "profile_evaluation.h"

namespace {

kx::Geometry storedGeometry;

}  // namespace

extern "C" {

KX_API void KX_CALL KXSetCurrentDataInfo(const CurrentDataInfo* info) {
    if (info == nullptr) return;
    storedGeometry = kx::GeometryFromInfo(*info);
}

KX_API void KX_CALL KXCurrentQuality(const CurrentQualityParams* params, CurrentSample* sample,
                                     CurrentQualityFlags* flags, CurrentQualityResult* result) {
    if (params == nullptr || sample == nullptr || flags == nullptr || result == nullptr) return;
    // A copy, so a geometry change between two evaluations never shows up
    // half-way through one.
    const kx::Geometry geometry = storedGeometry;
    kx::EvaluateProfile(geometry, *params, *sample, *flags, *result);
}
}
