#pragma once
// The bundled example deployments, made the same way every time: a current
// meter with two series and an oxygen meter with an L-file.

#include <string>

namespace corvan::samples {

// Writes BASE.CVN / BASE.RF6 of the current meter example.
void WriteCurrentMeterSample(const std::string& baseName);
// Writes BASE.CVN / BASE.RF6 / BASE.LN6 of the oxygen example.
void WriteOxygenSample(const std::string& baseName);

}  // namespace corvan::samples
