// The site facts the user types once and every export and analysis reuses.

#include <gtest/gtest.h>

#include <cmath>

#include "data/deployment_site.h"
#include "data/settings_access.h"

namespace corvan {
namespace {

TEST(DeploymentSiteFacts, AreCheckedParsedAndRemembered) {
    EXPECT_EQ(CheckDeploymentSite(DeploymentSite{90.0, -180.0, 0.0, {}, {}, {}}), "");
    EXPECT_NE(CheckDeploymentSite(DeploymentSite{-90.5, {}, {}, {}, {}, {}}), "");
    EXPECT_NE(CheckDeploymentSite(DeploymentSite{{}, 180.5, {}, {}, {}, {}}), "");
    EXPECT_NE(CheckDeploymentSite(DeploymentSite{{}, {}, -1.0, {}, {}, {}}), "");
    EXPECT_NE(CheckDeploymentSite(DeploymentSite{std::nan(""), {}, {}, {}, {}, {}}), "");

    bool ok = false;
    EXPECT_EQ(ParseSiteNumber(" 59,25 ", ok), 59.25);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ParseSiteNumber("-10.5", ok), -10.5);
    EXPECT_EQ(ParseSiteNumber("+3", ok), 3.0);
    EXPECT_EQ(ParseSiteNumber("  ", ok), std::nullopt);
    EXPECT_TRUE(ok);
    for (const char* bad : {"59N", "1e999", "nan", "--1", "1.2.3"}) {
        EXPECT_EQ(ParseSiteNumber(bad, ok), std::nullopt) << bad;
        EXPECT_FALSE(ok) << bad;
    }

    MemorySettings store;
    const DeploymentSite site{0.1, -179.75, 12.5, "S1", "Inst", "P. I."};
    WriteDeploymentSite(store, site);
    const DeploymentSite back = ReadDeploymentSite(store);
    EXPECT_EQ(back.latitude, 0.1);
    EXPECT_EQ(back.longitude, -179.75);
    EXPECT_EQ(back.depth, 12.5);
    EXPECT_EQ(back.siteCode, "S1");
    EXPECT_EQ(back.institution, "Inst");
    EXPECT_EQ(back.principalInvestigator, "P. I.");
    // Hand-edited nonsense is forgotten; the rest stays.
    store.WriteString(kDeploymentSiteSection, "Latitude", "95");
    store.WriteString(kDeploymentSiteSection, "Depth", "deep");
    const DeploymentSite edited = ReadDeploymentSite(store);
    EXPECT_EQ(edited.latitude, std::nullopt);
    EXPECT_EQ(edited.depth, std::nullopt);
    EXPECT_EQ(edited.longitude, -179.75);
    WriteDeploymentSite(store, DeploymentSite{});
    EXPECT_EQ(ReadDeploymentSite(store).longitude, std::nullopt);
}

}  // namespace
}  // namespace corvan
