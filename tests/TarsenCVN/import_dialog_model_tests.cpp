// The import dialog's rules without the dialog: opening cells, the update,
// the cell number check, and the number the export returns.

#include <gtest/gtest.h>

#include "import_dialog_model.h"
#include "test_support.h"

namespace tarsen {
namespace {

CConfig Profiler(int cells, double cellSize, double blankingCm) {
    CConfig c;
    c.type = kOrlenProfiler;
    c.cells = cells;
    c.cellSize = cellSize;
    c.blanking = blankingCm;
    return c;
}

void ExpectCells(const DefaultCellNumbers& d, int surface, int center, int bottom) {
    EXPECT_EQ(d.surface, surface);
    EXPECT_EQ(d.center, center);
    EXPECT_EQ(d.bottom, bottom);
}

TEST(LimitDefaultCells, WorkedCases) {
    ExpectCells(LimitDefaultCells({5, 14, 42}, 20), 5, 14, 20);
    ExpectCells(LimitDefaultCells({12, 30, 90}, 20), 6, 11, 20);
    ExpectCells(LimitDefaultCells({5, 15, 45}, 1), 1, 1, 1);
    // No profile at all: Bottom 0, Center and Surface halve from there.
    ExpectCells(LimitDefaultCells({5, 15, 45}, 0), 1, 1, 0);
}

TEST(ImportDialogValues, UpdateLowersCellsAndShowsTheirDistances) {
    const CConfig c = Profiler(40, 1.0, 50);
    ImportDialogValues v;
    v.rows[kSurface].cell = 10;
    v.rows[kCenter].cell = 0;
    v.rows[kBottom].cell = 90;
    UpdateDialogValues(v, c);
    EXPECT_EQ(v.rows[kSurface].cell, 10);
    EXPECT_NEAR(v.rows[kSurface].distance, 9.5, 1e-12);  // cos 25 deg x 10.5 m = 9.516
    EXPECT_EQ(v.rows[kCenter].cell, 0) << "no lower limit in the update";
    EXPECT_EQ(v.rows[kBottom].cell, 40);
    EXPECT_NEAR(v.rows[kBottom].distance, CellDistance(c, 40), 1e-12) << "the distance of the cell shown";
    EXPECT_EQ(LastCellOf(Profiler(0, 1, 0)), 1);
    EXPECT_EQ(LastCellOf(Profiler(300, 1, 0)), 128);
}

TEST(ExportResult, FirstWrittenCellZeroOrMinusOne) {
    ImportDialogValues v;
    v.rows[kSurface].cell = 4;
    v.rows[kCenter].cell = 9;
    v.rows[kBottom].cell = 17;
    ImportOutcome o;
    EXPECT_EQ(ExportResult(v, o), 0) << "cancelled";
    o.accepted = true;
    o.converted = {true, true, true};
    EXPECT_EQ(ExportResult(v, o), 4);
    // Surface not chosen: the Center file is the one written.
    v.rows[kSurface].selected = false;
    o.converted = {false, true, true};
    EXPECT_EQ(ExportResult(v, o), 9);
    v.rows[kCenter].selected = false;
    EXPECT_EQ(ExportResult(v, o), 17);
    o.converted = {false, true, false};
    EXPECT_EQ(ExportResult(v, o), -1);
    v.rows[kBottom].selected = false;
    EXPECT_EQ(ExportResult(v, o), 0) << "OK with nothing chosen";
}

TEST(ConvertSelectedPositions, FailedRowDoesNotStopTheOthers) {
    tarsen_test::ScratchFolder folder;
    tarsen_synth::Deployment d;
    d.setup = tarsen_synth::SetupFor(2);
    d.profiles = 3;
    const std::string path = tarsen_test::SaveDeployment(folder, "m.prf", d);
    TarsenFile file;
    tarsen_test::RecordingUi ui;
    ASSERT_TRUE(file.ReadConfiguration(path, ui));
    ImportDialogValues v = InitialDialogValues(file.Config());
    v.rows[kSurface].cell = 2;
    v.rows[kCenter].cell = 0;  // refused by the conversion
    v.rows[kBottom].cell = 3;
    const ImportOutcome o = ConvertSelectedPositions(file, v, ui);
    EXPECT_TRUE(o.converted[kSurface]);
    EXPECT_FALSE(o.converted[kCenter]);
    EXPECT_TRUE(o.converted[kBottom]);
    EXPECT_EQ(ExportResult(v, o), -1);
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(folder.Path("m-3.cvn")));
}

}  // namespace
}  // namespace tarsen
