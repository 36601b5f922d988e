#pragma once
// What the user knows about a deployment that the measurement files do not
// hold: where and how deep the instrument stood, and who is answerable for
// the data. The data-exchange file carries them as its site metadata, and
// the tidal analysis takes the latitude for its nodal corrections.

#include <optional>
#include <string>

#include "data/settings_access.h"

namespace corvan {

struct DeploymentSite {
    std::optional<double> latitude;   // degrees north
    std::optional<double> longitude;  // degrees east
    std::optional<double> depth;      // metres below the surface
    std::string siteCode;
    std::string institution;
    std::string principalInvestigator;
};

// Empty when the facts can stand in a file, else why not (a latitude
// beyond the poles, a negative depth...).
std::string CheckDeploymentSite(const DeploymentSite& site);

// A number typed by the user, with "." or "," as decimal separator and
// blanks around it; nullopt for an empty text, and ok=false for anything
// that is not a finite number.
std::optional<double> ParseSiteNumber(const std::string& text, bool& ok);
// The shortest text that reads back as the same number, with a point.
std::string SiteNumberText(double value);

// The facts as typed into six boxes; an empty text on success, else what
// the user must mend (out is then unchanged).
struct DeploymentSiteTexts {
    std::string latitude;
    std::string longitude;
    std::string depth;
    std::string siteCode;
    std::string institution;
    std::string principalInvestigator;
};
std::string DeploymentSiteFromTexts(const DeploymentSiteTexts& texts, DeploymentSite& out);
DeploymentSiteTexts DeploymentSiteAsTexts(const DeploymentSite& site);

// Remembered between exports in the settings section "NetCDF", where the
// first exports stored them; the section keeps that name for them.
inline constexpr const char* kDeploymentSiteSection = "NetCDF";
DeploymentSite ReadDeploymentSite(const SettingsAccess& store);
void WriteDeploymentSite(SettingsAccess& store, const DeploymentSite& site);

}  // namespace corvan
