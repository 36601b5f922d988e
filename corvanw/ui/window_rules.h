#pragma once
// The main window's rules as plain functions: which commands a file
// enables, the caption, the information panel's texts and the view titles.
// The window only applies what these return.

#include <string>

#include "data/data_set.h"
#include "graphs/graph_kinds.h"
#include "ui/view_kinds.h"

namespace corvan {

inline constexpr const char* kProgramTitle = "Corvan";
inline constexpr std::size_t kProgramTitleLength = 20;

// The program title the version's internal name gives: the name cut to
// the title's length, or the title kept when the name is blank.
std::string ProgramTitleFromInternalName(const std::string& internalName, const std::string& current);

struct CommandStates {
    // Enabled with a current channel: tool buttons "Table", "Bar graph",
    // "Vector graph", the menus "Table", "&Bar", "&Vector" and the speed and
    // direction entries of the "&Line" menus.
    bool current = false;
    // The optional sensor's line entries: shown, with this caption.
    bool optionalShown = false;
    std::string optionalCaption;
    // "Ox mg/l", "Ox flux", "Relative Ox flux" entries.
    bool oxygenShown = false;
    // "Flux" entries.
    bool fluxShown = false;
    // "Select", "Set &range", "Set s&caling", "&Export".
    bool fileCommands = false;
    // "Update salinity".
    bool updateSalinity = false;
};

CommandStates CommandsForFile(const DataSet& data);

// "Corvan - C:\data\buoy3", or the program title alone without data.
std::string WindowCaption(const std::string& programTitle, const DataSet& data);

// The information panel's texts (prefixes, interval, range times) are
// those of the statistics pages: graphs/statistics_pages.h.
inline constexpr const char* kNeumannPrefix = "Neumann parameter: ";
inline constexpr const char* kAverageSpeedPrefix = "Average speed: ";
inline constexpr const char* kRestSpeedPrefix = "Rest speed: ";
inline constexpr const char* kRestDirectionPrefix = "Rest direction: ";

// View state of the window.
struct ViewState {
    MainPage page = kPageList;
    InnerPage innerPage = kInnerTable;
    TableKind tableKind = kTableMatrix;
    GraphKind graphMode = kGraphBar;
    int barKind = 0;      // BarKind
    int lineChannel = 0;  // LineKind
    int vectorKind = 0;   // VectorKind
    BarScale barScale = kBarScaleNumber;
    bool startOfDays = false;
};

// The title label of kPageViews for the view shown.
std::string ViewTitle(const ViewState& view, const DataSet& data);

// The line channel the "Line graph" tool button shows: the previous one,
// or temperature when the file cannot show it.
int LineToolChannel(int previous, const MeasurementFileHeader& h);

// Whether a "&Line" menu item with this tag is accepted.
bool LineItemAccepted(int tag, const MeasurementFileHeader& h);

// Upper-casing of the plain texts used in titles (ASCII letters only).
std::string UpperCase(const std::string& text);

}  // namespace corvan
