#include "print/print_geometry.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

// A4 at 300 dpi: 2480 x 3508 pixels, printable area 2380 x 3388 at (50, 60).
PortraitPageGeometry A4At300() { return PortraitPageGeometry{2480, 3508, 50, 60, 2380, 3388, 300.0, 300.0}; }

TEST(PrinterMetrics, OffsetsOfEachSideInMillimetres) {
    const PrinterMetrics m = ComputePrinterMetrics(A4At300(), true);
    const double px = 300.0 / 25.4;
    EXPECT_DOUBLE_EQ(m.pixelsPerMmX, px);
    EXPECT_DOUBLE_EQ(m.leftOffset, 50 / px);
    EXPECT_DOUBLE_EQ(m.topOffset, 60 / px);
    EXPECT_DOUBLE_EQ(m.rightOffset, 50 / px);
    EXPECT_DOUBLE_EQ(m.bottomOffset, 60 / px);

    // A printer without a resolution does not divide by zero.
    PortraitPageGeometry none = A4At300();
    none.dpiX = none.dpiY = 0.0;
    const PrinterMetrics n = ComputePrinterMetrics(none, false);
    EXPECT_FALSE(n.portrait);
    EXPECT_DOUBLE_EQ(n.leftOffset, 50.0);
}

TEST(PrinterMetrics, MarginsAreRaisedToTheBordersOnly) {
    PrinterMetrics m;
    m.leftOffset = 4.2;
    m.rightOffset = 3.0;
    m.topOffset = 5.0;
    m.bottomOffset = 0.0;
    PrintMargins g{2.0, 20.0, 4.9, 1.0};
    RaiseMarginsToOffsets(g, m);
    EXPECT_DOUBLE_EQ(g.left, 4.2);
    EXPECT_DOUBLE_EQ(g.right, 20.0);
    EXPECT_DOUBLE_EQ(g.top, 5.0);
    EXPECT_DOUBLE_EQ(g.bottom, 1.0);
    // 0.2 cm on a 4.2 mm border reads 0.4 when the dialog opens again.
    EXPECT_EQ(MarginCentimetresText(g.left), "0.4");
}

TEST(PageRectangle, PortraitAndLandscapeTurnTheMarginsWithTheSheet) {
    PrinterMetrics m;
    m.pixelsPerMmX = 10.0;
    m.pixelsPerMmY = 12.0;
    m.leftOffset = 1.0;
    m.rightOffset = 2.0;
    m.topOffset = 3.0;
    m.bottomOffset = 4.0;
    const PrintMargins g{11.0, 22.0, 33.0, 44.0};

    const PixelRect p = PageRectangle(m, g, false, 2000, 2800);
    EXPECT_EQ(p.left, 100);           // 10 * (11 - 1)
    EXPECT_EQ(p.right, 2000 - 200);   // 10 * (22 - 2)
    EXPECT_EQ(p.top, 360);            // 12 * (33 - 3)
    EXPECT_EQ(p.bottom, 2800 - 480);  // 12 * (44 - 4)

    const PixelRect l = PageRectangle(m, g, true, 2800, 2000);
    EXPECT_EQ(l.top, 200);            // the right margin
    EXPECT_EQ(l.bottom, 2000 - 100);  // the left margin
    EXPECT_EQ(l.left, 360);           // the top margin
    EXPECT_EQ(l.right, 2800 - 480);   // the bottom margin

    const PageFrame f = PageFrameOf(p, 10.0, 12.0);
    EXPECT_DOUBLE_EQ(f.left, 10.0);
    EXPECT_DOUBLE_EQ(f.top, 30.0);
    EXPECT_DOUBLE_EQ(f.Width(), 170.0);

    // The dialog names each box after the edge its margin lands on.
    const MarginLabels portrait = MarginLabelsFor(false);
    EXPECT_STREQ(portrait.left, "Left:");
    EXPECT_STREQ(portrait.bottom, "Bottom:");
    const MarginLabels landscape = MarginLabelsFor(true);
    EXPECT_STREQ(landscape.left, "Bottom:");
    EXPECT_STREQ(landscape.right, "Top:");
    EXPECT_STREQ(landscape.top, "Left:");
    EXPECT_STREQ(landscape.bottom, "Right:");
}

TEST(MarginBox, SpinsToHalfCentimetresAndStopsAtTheBorder) {
    EXPECT_EQ(StepMarginText("1.0", +1, 0.0), "1.5");
    EXPECT_EQ(StepMarginText("1.2", +1, 0.0), "1.5");
    EXPECT_EQ(StepMarginText("1.25", +1, 0.0), "2.0");  // 3.5 halves to the even 4
    EXPECT_EQ(StepMarginText("1.0", -1, 0.0), "0.5");
    EXPECT_EQ(StepMarginText("1,2", -1, 0.0), "0.5");
    EXPECT_EQ(StepMarginText("0.5", -1, 4.2), "0.4");
    EXPECT_EQ(StepMarginText("0.0", -1, 0.0), "0.0");
    EXPECT_EQ(StepMarginText("abc", +1, 0.0), "abc");
    EXPECT_EQ(StepMarginText("", -1, 0.0), "");

    double cm = 0.0;
    EXPECT_TRUE(ParseCentimetres(" 2,5 ", cm));
    EXPECT_DOUBLE_EQ(cm, 2.5);
    EXPECT_FALSE(ParseCentimetres("inf", cm));
    EXPECT_FALSE(ParseCentimetres("0x10", cm));
    EXPECT_FALSE(ParseCentimetres("1.0cm", cm));
    EXPECT_EQ(MarginCentimetresText(10.0), "1.0");
    EXPECT_EQ(MarginCentimetresText(-0.1), "0.0");
    // Stored margins that are not numbers count as no margin at all.
    EXPECT_DOUBLE_EQ(MarginMillimetres("1,5"), 15.0);
    EXPECT_DOUBLE_EQ(MarginMillimetres("wide"), 0.0);
}

}  // namespace
}  // namespace corvan
