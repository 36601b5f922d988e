#include "ui/window_rules.h"

namespace corvan {

CommandStates CommandsForFile(const DataSet& data) {
    CommandStates s;
    if (!data.dataLoaded) return s;
    const MeasurementFileHeader& h = data.header;
    s.current = HasCurrent(h);
    s.optionalShown = HasOptional(h);
    if (s.optionalShown) s.optionalCaption = data.OptionalChannel().longName;
    s.oxygenShown = HasOptional(h) && HasOxygen(h);
    s.fluxShown = HasOptional(h) && HasFlux(h);
    s.fileCommands = true;
    s.updateSalinity = HasOxygen(h);
    return s;
}

std::string WindowCaption(const std::string& programTitle, const DataSet& data) {
    if (!data.dataLoaded) return programTitle;
    const std::string typeName = InstrumentTypeName(data.header.instrumentType);
    if (programTitle == kProgramTitle) return typeName + " - " + data.baseName;
    return programTitle + " - " + typeName + " - " + data.baseName;
}

std::string ProgramTitleFromInternalName(const std::string& internalName, const std::string& current) {
    if (internalName.find_first_not_of(" \t") == std::string::npos) return current;
    // Cut on a character boundary, never inside a UTF-8 sequence.
    std::size_t end = 0;
    std::size_t chars = 0;
    while (end < internalName.size() && chars < kProgramTitleLength) {
        ++end;
        while (end < internalName.size() && (static_cast<unsigned char>(internalName[end]) & 0xC0) == 0x80) ++end;
        ++chars;
    }
    return internalName.substr(0, end);
}

std::string UpperCase(const std::string& text) {
    std::string u = text;
    for (char& c : u) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return u;
}

std::string ViewTitle(const ViewState& view, const DataSet& data) {
    if (view.page != kPageViews) return {};
    if (view.innerPage == kInnerTable) return "CURRENT SPEED / DIRECTION MATRIX";
    if (view.innerPage == kInnerSummary) return "STATISTICAL SUMMARY";
    switch (view.graphMode) {
        case kGraphBar:
            if (view.barKind == 1) return "CURRENT DIRECTION BAR CHART";
            if (view.barKind == 6) return "OXYGEN FLUX BAR CHART";
            return "CURRENT SPEED BAR CHART";
        case kGraphLine:
            switch (view.lineChannel) {
                case 0:
                    return "CURRENT SPEED";
                case 1:
                    return "CURRENT DIRECTION";
                case 2:
                    if (data.header.instrumentType >= 5 && data.header.instrumentType <= 12 && data.statisticsValid) {
                        return UpperCase("Temperature at current meter position");
                    }
                    return "TEMPERATURE";
                case 3:
                    return UpperCase(data.OptionalChannel().longName);
                case 4:
                    return "FLUX";
                case 5:
                    return "OXYGEN mg/l";
                case 6:
                    return "OXYGEN FLUX";
                default:
                    return {};
            }
        case kGraphVector:
            switch (view.vectorKind) {
                case 0:
                    return "PROGRESSIVE VECTOR";
                case 1:
                case 2:
                    return "CURRENT VELOCITY DISTRIBUTION DIAGRAM";
                case 3:
                    return "STICK DIAGRAM";
                case 4:
                    return "OXYGEN FLUX DISTRIBUTION DIAGRAM";
                default:
                    return {};
            }
        default:
            return {};
    }
}

int LineToolChannel(int previous, const MeasurementFileHeader& h) {
    if (!HasCurrent(h)) return 2;
    if (previous == 3 && !HasOptional(h)) return 2;
    if (previous == 4 && !HasFlux(h)) return 2;
    return previous;
}

bool LineItemAccepted(int tag, const MeasurementFileHeader& h) {
    return HasCurrent(h) || (HasTemperature(h) && tag == 2);
}

}  // namespace corvan
