#include "ui/page_popup.h"

namespace corvan {

std::vector<PopupEntry> PopupEntries(MainPage page, InnerPage inner, GraphKind graphMode,
                                     const MeasurementFileHeader& h) {
    using E = PopupEntry;
    if (page != kPageViews) return {};
    if (inner == kInnerTable || inner == kInnerSummary) return {E::Matrix, E::Summary, E::FirstSeparator, E::Copy};
    if (inner != kInnerChart) return {};
    std::vector<E> entries;
    switch (graphMode) {
        case kGraphBar:
            entries = {E::Speed, E::Direction};
            if (HasOxygen(h)) entries.push_back(E::OxygenFlux);
            entries.insert(entries.end(), {E::FirstSeparator, E::NumberMeasured, E::Percent, E::SecondSeparator});
            break;
        case kGraphLine:
            entries = {E::Speed, E::Direction, E::Temperature};
            if (HasOptional(h)) entries.push_back(E::Optional);
            if (HasOxygen(h)) entries.push_back(E::OxygenMgl);
            if (HasFlux(h)) entries.push_back(E::Flux);
            if (HasOxygen(h)) entries.push_back(E::OxygenFlux);
            entries.push_back(E::SecondSeparator);
            break;
        case kGraphVector:
            entries = {E::Progressive, E::MaxMean, E::FluxNumber};
            if (HasOxygen(h)) entries.push_back(E::RelativeOxygenFlux);
            entries.insert(entries.end(), {E::Stick, E::SecondSeparator});
            break;
    }
    entries.push_back(E::Copy);
    return entries;
}

}  // namespace corvan
