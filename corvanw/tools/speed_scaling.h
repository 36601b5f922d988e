#pragma once
// Correction of the current speeds of a run of records by a factor.

#include "data/data_set.h"

namespace corvan {

inline constexpr const char* kScaleValueError = "Error in scale value";

// Multiplies the speed of records first..last (0-based, clamped to the
// header count) by factor. Invalid speeds keep their marker: scaling them
// would turn "not measured" into a measurement. Returns the records changed.
int ScaleSpeeds(DataSet& data, int first, int last, double factor);

}  // namespace corvan
