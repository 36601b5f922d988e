#include "data/deployment_site.h"

#include <charconv>
#include <cmath>

namespace corvan {

namespace {
constexpr const char* kLatitudeIdent = "Latitude";
constexpr const char* kLongitudeIdent = "Longitude";
constexpr const char* kDepthIdent = "Depth";
constexpr const char* kSiteCodeIdent = "SiteCode";
constexpr const char* kInstitutionIdent = "Institution";
constexpr const char* kInvestigatorIdent = "PrincipalInvestigator";

std::string Trimmed(const std::string& text) {
    const auto b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}
}  // namespace

std::string CheckDeploymentSite(const DeploymentSite& site) {
    if (site.latitude && !(std::isfinite(*site.latitude) && std::fabs(*site.latitude) <= 90.0))
        return "the latitude must lie in -90..90 degrees";
    if (site.longitude && !(std::isfinite(*site.longitude) && std::fabs(*site.longitude) <= 180.0))
        return "the longitude must lie in -180..180 degrees";
    // A depth is metres below the surface; a height above it is not a depth.
    if (site.depth && !(std::isfinite(*site.depth) && *site.depth >= 0.0 && *site.depth <= 12000.0))
        return "the depth must lie in 0..12000 metres";
    return {};
}

std::optional<double> ParseSiteNumber(const std::string& text, bool& ok) {
    ok = true;
    std::string t = Trimmed(text);
    if (t.empty()) return std::nullopt;
    for (char& c : t) {
        if (c == ',') c = '.';
    }
    if (t[0] == '+') t.erase(0, 1);
    double v = 0.0;
    const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || p != t.data() + t.size() || !std::isfinite(v)) {
        ok = false;
        return std::nullopt;
    }
    return v;
}

std::string SiteNumberText(double value) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string DeploymentSiteFromTexts(const DeploymentSiteTexts& texts, DeploymentSite& out) {
    DeploymentSite site;
    bool ok = false;
    site.latitude = ParseSiteNumber(texts.latitude, ok);
    if (!ok) return "The latitude is not a number of degrees.";
    site.longitude = ParseSiteNumber(texts.longitude, ok);
    if (!ok) return "The longitude is not a number of degrees.";
    site.depth = ParseSiteNumber(texts.depth, ok);
    if (!ok) return "The depth is not a number of metres.";
    site.siteCode = Trimmed(texts.siteCode);
    site.institution = Trimmed(texts.institution);
    site.principalInvestigator = Trimmed(texts.principalInvestigator);
    std::string why = CheckDeploymentSite(site);
    if (!why.empty()) {
        why[0] = static_cast<char>(why[0] - 'a' + 'A');
        return why + ".";
    }
    out = site;
    return {};
}

DeploymentSiteTexts DeploymentSiteAsTexts(const DeploymentSite& site) {
    const auto number = [](const std::optional<double>& v) { return v ? SiteNumberText(*v) : std::string(); };
    return DeploymentSiteTexts{number(site.latitude), number(site.longitude), number(site.depth),
                               site.siteCode,         site.institution,       site.principalInvestigator};
}

DeploymentSite ReadDeploymentSite(const SettingsAccess& store) {
    DeploymentSite site;
    bool ok = false;
    const auto number = [&](const char* ident) -> std::optional<double> {
        const auto v = ParseSiteNumber(store.ReadString(kDeploymentSiteSection, ident, ""), ok);
        return ok ? v : std::nullopt;
    };
    site.latitude = number(kLatitudeIdent);
    site.longitude = number(kLongitudeIdent);
    site.depth = number(kDepthIdent);
    site.siteCode = store.ReadString(kDeploymentSiteSection, kSiteCodeIdent, "");
    site.institution = store.ReadString(kDeploymentSiteSection, kInstitutionIdent, "");
    site.principalInvestigator = store.ReadString(kDeploymentSiteSection, kInvestigatorIdent, "");
    // Facts edited by hand into something no file may carry are forgotten
    // rather than offered again.
    DeploymentSite checked = site;
    if (!CheckDeploymentSite(DeploymentSite{site.latitude, {}, {}, {}, {}, {}}).empty()) checked.latitude.reset();
    if (!CheckDeploymentSite(DeploymentSite{{}, site.longitude, {}, {}, {}, {}}).empty()) checked.longitude.reset();
    if (!CheckDeploymentSite(DeploymentSite{{}, {}, site.depth, {}, {}, {}}).empty()) checked.depth.reset();
    return checked;
}

void WriteDeploymentSite(SettingsAccess& store, const DeploymentSite& site) {
    const auto number = [](const std::optional<double>& v) { return v ? SiteNumberText(*v) : std::string(); };
    store.WriteString(kDeploymentSiteSection, kLatitudeIdent, number(site.latitude));
    store.WriteString(kDeploymentSiteSection, kLongitudeIdent, number(site.longitude));
    store.WriteString(kDeploymentSiteSection, kDepthIdent, number(site.depth));
    store.WriteString(kDeploymentSiteSection, kSiteCodeIdent, site.siteCode);
    store.WriteString(kDeploymentSiteSection, kInstitutionIdent, site.institution);
    store.WriteString(kDeploymentSiteSection, kInvestigatorIdent, site.principalInvestigator);
}

}  // namespace corvan
