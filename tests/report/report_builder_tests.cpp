// A whole report from files on disk: positions present, missing and left
// out by the template, ranges refused, picture sizes, the bundled template.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "data/file_error.h"
#include "graphs/stats_test_data.h"
#include "report/report_builder.h"
#include "report/report_template.h"
#include "report_test_support.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::FillDataSet;
using testing::ParagraphTexts;

// Hands out a small picture and remembers what was asked for.
class RecordingPictures : public ReportPictureSource {
public:
    ReportPicture Draw(const DataSet&, const ScaleSettings&, const Statistics&,
                       const ReportPictureRequest& request) override {
        requests.push_back(request);
        return {testing::TinyPng(), "", request.widthPt, request.heightPt, ""};
    }
    std::vector<ReportPictureRequest> requests;
};

std::string WriteFileSet(const testing::TempDir& dir, const std::string& name, int type = 0, int count = 300) {
    DataSet d;
    std::vector<testing::Rec> recs;
    for (int i = 0; i < count; ++i) recs.push_back({5.0f + static_cast<float>(i % 7), (i * 37) % 360 * 1.0});
    FillDataSet(d, recs, type);
    d.baseName = dir.Path(name);
    WriteMeasurementFile(d);
    WriteReferenceFile(d, 1);
    return d.baseName;
}

std::string TemplateWith(const testing::TempDir& dir, const std::string& body) {
    const std::string file = dir.Path("template.docx");
    testing::MinimalPackage(body).Write(file);
    return file;
}

std::string Para(const std::string& text) {
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}

ReportRequest BaseRequest(const std::string& templateFile, const std::string& output) {
    ReportRequest r;
    r.templateFileName = templateFile;
    r.outputFileName = output;
    r.today = {2009, 2, 23, 12, 0, 0};
    r.facts.depth[0] = "5";
    return r;
}

TEST(ProduceReport, PositionsPresentMissingAndWithoutSection) {
    testing::TempDir dir;
    const std::string surface = WriteFileSet(dir, "surf");
    const std::string bottom = WriteFileSet(dir, "bott");
    const std::string tpl = TemplateWith(dir, Para("{corvanInnhold1} / {corvanInnhold2} {corvanDato}") +
                                                  Para("{corvanOverflate}") + Para("{corvanSpredning}") +
                                                  Para("Of {corvanOfInstr} Sp [{corvanSpAvgC}] Bn [{corvanBnInstr}]") +
                                                  Para("{corvanTypeLead}"));
    ReportRequest r = BaseRequest(tpl, dir.Path("out.docx"));
    r.positions[0].baseName = surface;
    r.positions[1].baseName = dir.Path("nothing-here");
    r.positions[2].baseName = bottom;  // the template has no bottom section
    RecordingPictures pictures;
    const ReportOutcome outcome = ProduceReport(r, &pictures);
    EXPECT_EQ(outcome.presentSet, 1);
    EXPECT_EQ(outcome.notes.size(), 2u);
    EXPECT_EQ(outcome.pictureCount, 9);

    const OfficePackage out = OfficePackage::Read(r.outputFileName);
    const auto texts = ParagraphTexts(*out.Find("word/document.xml"));
    EXPECT_EQ(texts[0], "Overflatestrøm / Overflatestrøm 23/02-2009");
    EXPECT_EQ(texts[1], "Overflatestrøm - 5 meter");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Of Corvan - nr4711 Sp [] Bn []"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Måler type - nummer"), 1);
    for (const std::string& t : texts) EXPECT_EQ(t.find("{corvan"), std::string::npos) << t;
}

TEST(ProduceReport, PictureSizesFromThePageAndTheGraphArea) {
    testing::TempDir dir;
    const std::string surface = WriteFileSet(dir, "surf");
    const std::string tpl = TemplateWith(dir, Para("{corvanOverflate}"));
    ReportRequest r = BaseRequest(tpl, dir.Path("out.docx"));
    r.positions[0].baseName = surface;
    RecordingPictures sized;
    ProduceReport(r, &sized);
    ASSERT_EQ(sized.requests.size(), 9u);
    EXPECT_EQ(sized.requests[0].item.view, ReportView::Temperature);
    EXPECT_EQ(sized.requests[0].layoutWidth, 454);
    EXPECT_EQ(sized.requests[0].layoutHeight, 340);
    EXPECT_DOUBLE_EQ(sized.requests[0].heightPt, 340.0);
    EXPECT_EQ(sized.requests.back().item.view, ReportView::Matrix);

    r.autoSize = false;
    RecordingPictures scaled;
    ProduceReport(r, &scaled);
    EXPECT_EQ(scaled.requests[0].layoutWidth, 1000);
    EXPECT_EQ(scaled.requests[0].layoutHeight, 600);
    EXPECT_DOUBLE_EQ(scaled.requests[0].widthPt, 454.0);
    EXPECT_NEAR(scaled.requests[0].heightPt, 272.4, 1e-9);
}

TEST(ProduceReport, RefusedRangeOrUnreadableTemplateWritesNothing) {
    testing::TempDir dir;
    const std::string surface = WriteFileSet(dir, "surf", 0, 50);
    const std::string tpl = TemplateWith(dir, Para("{corvanOverflate}"));
    ReportRequest r = BaseRequest(tpl, dir.Path("out.docx"));
    r.positions[0].baseName = surface;
    r.positions[0].range.first = 10;
    r.positions[0].range.last = 51;
    try {
        ProduceReport(r, nullptr);
        FAIL() << "a range outside the series was accepted";
    } catch (const FileError& e) {
        EXPECT_EQ(e.FileName(), MeasurementFileName(surface));
        EXPECT_NE(e.Reason().find("51"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(r.outputFileName));

    r.positions[0].range.last = 50;
    r.templateFileName = dir.Path("missing.docx");
    EXPECT_THROW(ProduceReport(r, nullptr), FileError);
    testing::WriteBytes(dir.Path("bad.docx"), {1, 2, 3});
    r.templateFileName = dir.Path("bad.docx");
    EXPECT_THROW(ProduceReport(r, nullptr), FileError);
    EXPECT_FALSE(std::filesystem::exists(r.outputFileName));

    // Cancelled from the progress: nothing written either.
    r.templateFileName = tpl;
    const ReportOutcome cancelled =
        ProduceReport(r, nullptr, [](int done, int, const std::string&) { return done < 3; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(std::filesystem::exists(r.outputFileName));
}

TEST(ReportTemplate, OlderBinaryTemplateWithoutConverterSaysSo) {
    testing::TempDir dir;
    const std::string dot = dir.Path("old.dot");
    testing::WriteBytes(dot, {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1, 0, 0, 0, 0});
    EXPECT_TRUE(IsBinaryWordFile(dot));
    ::setenv("CORVAN_SOFFICE", dir.Path("no-office").c_str(), 1);
    try {
        ReadReportTemplate(dot);
        FAIL() << "no converter, yet no message";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Reason(), kNoConverterReason);
    }
    ::unsetenv("CORVAN_SOFFICE");
}

TEST(ReportTemplate, BundledTemplateHoldsEveryPlaceholderOnAnA4Page) {
    ReportDocument doc(ReadReportTemplate(CORVAN_REPORT_TEMPLATE), CORVAN_REPORT_TEMPLATE);
    for (const char* section : kSectionPlaceholders) EXPECT_TRUE(doc.HasSection(section)) << section;
    for (const char* prefix : kPositionPrefixes) {
        for (const char* suffix : kPositionSuffixes)
            EXPECT_TRUE(doc.Contains(std::string(prefix) + suffix)) << prefix << suffix;
    }
    for (const Replacement& r : SiteReplacements({}, {})) EXPECT_TRUE(doc.Contains(r.first)) << r.first;
    for (const char* other : {"{corvanMeasMode}", "{corvanTypeLead}", "{corvanInnhold1}", "{corvanInnhold2}"})
        EXPECT_TRUE(doc.Contains(other)) << other;
    const UsablePage page = UsablePageOf(doc.LastSectionPageSetup());
    EXPECT_EQ(page.height, 700);
    EXPECT_EQ(page.width, 454);
}

}  // namespace
}  // namespace corvan
