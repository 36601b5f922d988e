// `corvan report` as a user runs it: the bundled samples into the bundled
// template, the document opened by LibreOffice and read back from its PDF;
// and the failures that must write nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "cli/run_command.h"
#include "report/office_package.h"
#include "report/report_template.h"
#include "support/temp_dir.h"

namespace corvan {
namespace {

using testing::RunCommand;

const std::string kCli = CORVAN_CLI;
const std::string kSamples = CORVAN_SAMPLES;
const std::string kTemplate = CORVAN_REPORT_TEMPLATE;

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
    return n;
}

// The text of every page and the number of pictures, as LibreOffice lays
// the document out.
struct PdfContents {
    std::string text;
    int images = 0;
};

PdfContents OpenWithLibreOffice(const testing::TempDir& dir, const std::string& docx) {
    const std::string office = FindOfficeConverter();
    if (office.empty()) return {};
    const int status =
        RunProgram(office, {"--headless", "--norestore", "-env:UserInstallation=file://" + dir.Path("lo"),
                            "--convert-to", "pdf", "--outdir", dir.Path("pdf"), docx});
    EXPECT_EQ(status, 0);
    const std::string pdf = dir.Path("pdf/" + std::filesystem::path(docx).stem().string() + ".pdf");
    EXPECT_TRUE(std::filesystem::exists(pdf)) << "LibreOffice did not open " << docx;
    PdfContents c;
    c.text = RunCommand("pdftotext", {"-layout", pdf, "-"}).out;
    const std::string list = RunCommand("pdfimages", {"-list", pdf}).out;
    c.images = std::max(0, Count(list, "\n") - 2);
    return c;
}

TEST(ReportCommand, ThreePositionsOfTheSamplesOpenInLibreOffice) {
    testing::TempDir dir;
    const std::string out = dir.Path("report.docx");
    const auto r = RunCommand(kCli, {"report",
                                     "--template",
                                     kTemplate,
                                     "-o",
                                     out,
                                     "--surface",
                                     kSamples + "/buoy3",
                                     "--center",
                                     kSamples + "/oxy17",
                                     "--bottom",
                                     kSamples + "/buoy3:2",
                                     "--surface-depth",
                                     "5",
                                     "--sted",
                                     "Testvik",
                                     "--kommune",
                                     "Hitra",
                                     "--fylke",
                                     "Trøndelag",
                                     "--utm",
                                     "32V 512345",
                                     "--total-depth",
                                     "40"});
    ASSERT_EQ(r.status, 0) << r.err;
    const OfficePackage package = OfficePackage::Read(out);
    const std::string& xml = *package.Find("word/document.xml");
    EXPECT_EQ(xml.find("{corvan"), std::string::npos);
    // The drawing and its picture both carry the alt text.
    EXPECT_EQ(Count(xml, "\"CURRENT SPEED / DIRECTION MATRIX\""), 2 * 3);
    int media = 0;
    for (const PackagePart& p : package.parts) media += p.name.rfind("word/media/", 0) == 0 && p.name.ends_with(".png");
    const int drawings = Count(xml, "<wp:docPr ");
    EXPECT_EQ(media, drawings);
    EXPECT_GE(drawings, 3);

    const PdfContents pdf = OpenWithLibreOffice(dir, out);
    if (FindOfficeConverter().empty()) GTEST_SKIP() << "LibreOffice is not installed";
    EXPECT_NE(pdf.text.find("Overflatestrøm - 5 meter"), std::string::npos);
    EXPECT_NE(pdf.text.find("Spredningsstrøm"), std::string::npos);
    EXPECT_NE(pdf.text.find("Bunnstrøm"), std::string::npos);
    EXPECT_NE(pdf.text.find("Overflatestrøm, spredningsstrøm og bunnstrøm"), std::string::npos);
    EXPECT_NE(pdf.text.find("Testvik, Hitra kommune, Trøndelag"), std::string::npos);
    EXPECT_NE(pdf.text.find("CorvanOPT"), std::string::npos);
    EXPECT_EQ(Count(pdf.text, "STATISTICAL SUMMARY"), 3);
    EXPECT_TRUE(std::regex_search(pdf.text, std::regex("Mean current speed \\(cm/s\\) +[0-9]+[.,][0-9]")));
    EXPECT_EQ(pdf.text.find("{corvan"), std::string::npos);
    EXPECT_EQ(pdf.text.find("m#3"), std::string::npos);
    EXPECT_EQ(pdf.images, drawings);
}

TEST(ReportCommand, OlderBinaryTemplateIsConvertedFirst) {
    const std::string office = FindOfficeConverter();
    if (office.empty()) GTEST_SKIP() << "LibreOffice is not installed";
    testing::TempDir dir;
    // The binary template is made here from the bundled one.
    std::filesystem::copy_file(kTemplate, dir.Path("mal.docx"));
    ASSERT_EQ(
        RunProgram(office, {"--headless", "--norestore", "-env:UserInstallation=file://" + dir.Path("lo"),
                            "--convert-to", "dot:MS Word 97 Vorlage", "--outdir", dir.Path(""), dir.Path("mal.docx")}),
        0);
    const std::string out = dir.Path("report.docx");
    const auto r = RunCommand(kCli, {"report", "--template", dir.Path("mal.dot"), "-o", out, "--bottom",
                                     kSamples + "/buoy3", "--sted", "Testvik"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string xml = *OfficePackage::Read(out).Find("word/document.xml");
    EXPECT_EQ(xml.find("{corvan"), std::string::npos);
    EXPECT_NE(xml.find("Testvik"), std::string::npos);
    EXPECT_NE(xml.find("Bunnstrøm"), std::string::npos);
    EXPECT_NE(xml.find("<wp:docPr "), std::string::npos);
}

TEST(ReportCommand, MissingPositionIsLeftOutFailuresWriteNothing) {
    testing::TempDir dir;
    const std::string out = dir.Path("report.docx");
    auto r = RunCommand(kCli, {"report", "--template", kTemplate, "-o", out, "--surface", dir.Path("absent"),
                               "--bottom", kSamples + "/buoy3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("absent.CVN"), std::string::npos);
    ASSERT_TRUE(std::filesystem::exists(out));
    const std::string xml = *OfficePackage::Read(out).Find("word/document.xml");
    EXPECT_EQ(xml.find("Overflatestrøm - "), std::string::npos);
    std::filesystem::remove(out);

    r = RunCommand(kCli, {"report", "--template", dir.Path("none.docx"), "-o", out, "--surface", kSamples + "/buoy3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("none.docx"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));

    r = RunCommand(kCli, {"report", "--template", kTemplate, "-o", out, "--surface", kSamples + "/buoy3:1:5:999999"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("buoy3.CVN"), std::string::npos);
    EXPECT_NE(r.err.find("999999"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));

    r = RunCommand(kCli, {"report", "-o", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Count(r.err, "\n"), 1) << r.err;
    r = RunCommand(kCli, {"report", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--no-auto-size"), std::string::npos);
}

}  // namespace
}  // namespace corvan
