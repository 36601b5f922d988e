#pragma once
// Axis limits of every graph, automatic (taken from the statistics) or set
// by hand in the scaling dialog, and the dialog's field rules.

#include <array>
#include <string>
#include <string_view>

#include "data/measurement_files.h"

namespace corvan {

inline constexpr int kSpeedRangeCount = 4;

struct ScaleSettings {
    bool manual = false;
    int speedRange = 1;  // 1..4, row of the speed class table
    float particleFluxMax = 0.0f, particleFluxMin = 0.0f;
    float oxygenFluxMax = 0.0f, oxygenFluxMin = 0.0f;
    float speedMax = 0.0f, speedMin = 0.0f;
    float temperatureMax = 0.0f, temperatureMin = 0.0f;
    float optionalMin = 0.0f, optionalMax = 0.0f;
    float oxygenMglMin = 0.0f, oxygenMglMax = 0.0f;
    int directionBarMax = 0;
    int speedBarMax = 0;
};

// The texts of the scaling dialog's boxes, in and out.
struct ScaleFields {
    std::string speedMin, speedMax;
    std::string temperatureMin, temperatureMax;
    std::string optionalMin, optionalMax;
    std::string oxygenMglMin, oxygenMglMax;
    std::string oxygenFluxMin, oxygenFluxMax;
    std::string fluxMin, fluxMax;
    std::string speedBarMax, directionBarMax;
    int speedRangeIndex = 0;  // combo item, 0..3
};

// Which rows of the dialog can be edited in manual mode.
struct ScaleFieldAvailability {
    bool optional = false;
    bool oxygen = false;  // "Ox mg/l" and "Ox flux"
    bool flux = false;
};
ScaleFieldAvailability ScaleFieldsAvailable(const MeasurementFileHeader& header);

// Fills the boxes from the settings; a row the file has no channel for is
// left empty.
ScaleFields FillScaleFields(const ScaleSettings& scale, const ScaleFieldAvailability& available,
                            std::string_view decimalSeparator);

// Takes the boxes of a manual OK into the settings. A box that holds no
// number leaves its limit alone. Returns false when a limit was narrowed by
// 0.09 or more against the value in effect, so lines may leave the graph.
bool ApplyManualScaleFields(ScaleSettings& scale, const ScaleFields& fields);

// A number typed into the dialog: surrounding blanks are ignored and both
// "." and "," are taken as the decimal separator.
bool ParseScaleNumber(std::string_view text, double& value);

// Combo box items of the speed range.
inline constexpr std::array<const char*, kSpeedRangeCount> kSpeedRangeItems = {"1-100", "1-200", "1-400", "1-800"};

}  // namespace corvan
