// The document generator on small packages written here: placeholders
// split by the word processor, sections, superscripts, the summary table,
// pictures and the template's content type.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

#include "data/file_error.h"
#include "report/report_document.h"
#include "report_test_support.h"
#include "support/temp_dir.h"
#ifndef _WIN32
#include "faults/failing_child.h"
#endif

namespace corvan {
namespace {

using testing::MinimalPackage;
using testing::ParagraphTexts;

std::string MainXml(ReportDocument& doc) { return *doc.Package().Find("word/document.xml"); }

TEST(ReportDocument, PlaceholderSplitOverThreeRunsAndProofingMarks) {
    const std::string body =
        "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>Dyp: {corvan</w:t></w:r><w:proofErr w:type=\"spellStart\"/>"
        "<w:r><w:t>Tot</w:t></w:r><w:proofErr w:type=\"spellEnd\"/>"
        "<w:r><w:rPr><w:i/></w:rPr><w:t xml:space=\"preserve\">Dyp} m, {corvanTotDyp}</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>{corvan</w:t></w:r><w:r><w:tab/></w:r><w:r><w:t>TotDyp}</w:t></w:r></w:p>";
    ReportDocument doc(MinimalPackage(body), "t.docx");
    EXPECT_EQ(doc.ReplaceAll("{corvanTotDyp}", "40"), 2);
    const std::string xml = MainXml(doc);
    const auto texts = ParagraphTexts(xml);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Dyp: 40 m, 40");
    // A tab between the halves is no placeholder.
    EXPECT_EQ(texts[1], "{corvanTotDyp}");
    // The value keeps the formatting of the run where the placeholder began.
    pugi::xml_document parsed;
    parsed.load_string(xml.c_str());
    const pugi::xml_node boldRun = parsed.select_node("//w:r[w:rPr/w:b]").node();
    EXPECT_STREQ(boldRun.child("w:t").text().get(), "Dyp: 40");
}

TEST(ReportDocument, PlaceholdersAreFoundWhateverTheirCaseAndInFooters) {
    ReportDocument doc(MinimalPackage("<w:p><w:r><w:t>{CORVANsted}</w:t></w:r></w:p>", "{corvanSted} side"), "t.docx");
    EXPECT_EQ(doc.ReplaceAll("{corvanSted}", "Hitra <&>"), 2);
    EXPECT_EQ(ParagraphTexts(MainXml(doc))[0], "Hitra <&>");
    EXPECT_EQ(ParagraphTexts(*doc.Package().Find("word/footer1.xml"))[0], "Hitra <&> side");
}

TEST(ReportDocument, SuperscriptDigitsLoseTheirMark) {
    ReportDocument doc(
        MinimalPackage("<w:p><w:r><w:t>12m#3 ved 0-15 grader. 4m#</w:t></w:r><w:r><w:t>3/m#2/døgn</w:t></w:r></w:p>"),
        "t.docx");
    doc.ApplySuperscripts();
    const std::string xml = MainXml(doc);
    EXPECT_EQ(ParagraphTexts(xml)[0], "12m3 ved 0-15 grader. 4m3/m2/døgn");
    pugi::xml_document parsed;
    parsed.load_string(xml.c_str());
    std::vector<std::string> raised;
    for (const pugi::xpath_node& n : parsed.select_nodes("//w:r[w:rPr/w:vertAlign[@w:val='superscript']]"))
        raised.push_back(n.node().child("w:t").text().get());
    EXPECT_EQ(raised, (std::vector<std::string>{"3", "3", "2"}));
}

TEST(ReportDocument, AbsentSectionIsRemovedWithItsParagraph) {
    ReportDocument doc(
        MinimalPackage("<w:p><w:r><w:t>A</w:t></w:r></w:p>"
                       "<w:p><w:pPr><w:pStyle w:val=\"Heading1\"/></w:pPr><w:r><w:t>{corvanBunn}</w:t></w:r></w:p>"
                       "<w:p><w:r><w:t>B {corvanSpredning} C</w:t></w:r></w:p>"),
        "t.docx");
    EXPECT_TRUE(doc.HasSection("{corvanBunn}"));
    EXPECT_FALSE(doc.HasSection("{corvanOverflate}"));
    doc.RemoveSection("{corvanBunn}");
    doc.RemoveSection("{corvanSpredning}");
    EXPECT_EQ(ParagraphTexts(MainXml(doc)), (std::vector<std::string>{"A", "B  C"}));
}

TEST(ReportDocument, FilledSectionHoldsHeadingPicturesAndTable) {
    testing::TempDir dir;
    ReportDocument doc(
        MinimalPackage("<w:p><w:pPr><w:pStyle w:val=\"Heading1\"/></w:pPr>"
                       "<w:r><w:t>{corvanOverflate}</w:t></w:r></w:p><w:p><w:r><w:t>end</w:t></w:r></w:p>"),
        "t.docx");
    std::vector<ReportPicture> pictures(2);
    pictures[0] = {testing::TinyPng(), "", 450.0, 200.0, "CURRENT SPEED"};
    pictures[1] = {testing::TinyPng(), "<svg xmlns=\"http://www.w3.org/2000/svg\"/>", 450.0, 200.0, "STICK DIAGRAM"};
    SummaryTable table;
    table.cells.resize(12);
    table.cells[0] = {"", "Total", "East / west", "North / south"};
    table.cells[1] = {"Mean current speed (cm/s)", "15.6", "8.2", "12.3"};
    table.cells[11] = {"Valid measurements", "10", "11", "12"};
    table.headerCells = {{0, 1}, {0, 2}, {0, 3}, {11, 1}, {11, 2}, {11, 3}};
    doc.FillSection("{corvanOverflate}", "Overflatestrøm - 5 meter", pictures, &table, 454);

    const OfficePackage out = doc.Package();
    pugi::xml_document parsed;
    parsed.load_string(out.Find("word/document.xml")->c_str());
    const pugi::xml_node body = parsed.document_element().child("w:body");
    // Heading in its own style, two picture paragraphs, a blank one, the title, the table, a blank one.
    std::vector<std::string> order;
    for (pugi::xml_node n = body.first_child(); n; n = n.next_sibling()) {
        std::string kind = n.name();
        if (n.select_node(".//w:drawing")) kind += "+picture";
        order.push_back(kind);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"w:p", "w:p+picture", "w:p+picture", "w:p", "w:p", "w:tbl", "w:p", "w:p",
                                               "w:sectPr"}));
    EXPECT_STREQ(body.first_child().select_node(".//w:pStyle").node().attribute("w:val").value(), "Heading1");
    const auto texts = ParagraphTexts(*out.Find("word/document.xml"));
    EXPECT_EQ(texts[0], "Overflatestrøm - 5 meter");
    EXPECT_TRUE(body.select_node(".//w:r[w:rPr/w:b]/w:t[text()='STATISTICAL SUMMARY']"));

    // Alt text, size in EMU, the PNG and its SVG twin in the package.
    const auto docPrs = parsed.select_nodes("//wp:docPr");
    ASSERT_EQ(docPrs.size(), 2u);
    EXPECT_STREQ(docPrs[0].node().attribute("descr").value(), "CURRENT SPEED");
    EXPECT_STREQ(docPrs[1].node().attribute("descr").value(), "STICK DIAGRAM");
    EXPECT_NE(docPrs[0].node().attribute("id").as_int(), docPrs[1].node().attribute("id").as_int());
    EXPECT_EQ(parsed.select_node("//wp:extent").node().attribute("cx").as_llong(), 450LL * 12700);
    EXPECT_TRUE(out.Find("word/media/corvan_report_1.png"));
    EXPECT_TRUE(out.Find("word/media/corvan_report_2.svg"));
    EXPECT_NE(out.Find("[Content_Types].xml")->find("Extension=\"png\""), std::string::npos);
    EXPECT_NE(out.Find("[Content_Types].xml")->find("image/svg+xml"), std::string::npos);
    const std::string rels = *out.Find("word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("media/corvan_report_2.svg"), std::string::npos);

    // The table: 4 columns, 12 rows, no borders, padding, decimal tab, centred captions.
    const pugi::xml_node tbl = body.child("w:tbl");
    EXPECT_EQ(tbl.select_nodes("w:tblGrid/w:gridCol").size(), 4u);
    EXPECT_EQ(tbl.select_nodes("w:tr").size(), 12u);
    for (const pugi::xpath_node& b : tbl.select_nodes("w:tblPr/w:tblBorders/*"))
        EXPECT_STREQ(b.node().attribute("w:val").value(), "nil");
    EXPECT_EQ(tbl.select_nodes("w:tblPr/w:tblBorders/*").size(), 6u);
    EXPECT_EQ(tbl.select_node("w:tblPr/w:tblCellMar/w:top").node().attribute("w:w").as_int(), 57);
    const auto rows = tbl.select_nodes("w:tr");
    const pugi::xml_node meanTotal = rows[1].node().select_nodes("w:tc")[1].node();
    EXPECT_STREQ(meanTotal.select_node(".//w:tabs/w:tab").node().attribute("w:val").value(), "decimal");
    EXPECT_EQ(meanTotal.select_node(".//w:tabs/w:tab").node().attribute("w:pos").as_int(), 567);
    const pugi::xml_node total = rows[0].node().select_nodes("w:tc")[1].node();
    EXPECT_FALSE(total.select_node(".//w:tabs"));
    EXPECT_STREQ(total.select_node(".//w:jc").node().attribute("w:val").value(), "center");
    const pugi::xml_node count = rows[11].node().select_nodes("w:tc")[2].node();
    EXPECT_STREQ(count.select_node(".//w:jc").node().attribute("w:val").value(), "center");
    const pugi::xml_node caption = rows[11].node().select_nodes("w:tc")[0].node();
    EXPECT_FALSE(caption.select_node(".//w:jc"));
    // Columns 2 to 4 share one width.
    const auto cols = tbl.select_nodes("w:tblGrid/w:gridCol");
    EXPECT_EQ(cols[1].node().attribute("w:w").as_int(), cols[3].node().attribute("w:w").as_int());
}

TEST(ReportDocument, TemplateBecomesADocumentAndMacrosAreRefused) {
    ReportDocument doc(MinimalPackage("<w:p/>", "", kTemplateMainType), "t.dotx");
    const std::string types = *doc.Package().Find("[Content_Types].xml");
    EXPECT_NE(types.find(kDocumentMainType), std::string::npos);
    EXPECT_EQ(types.find(kTemplateMainType), std::string::npos);
    EXPECT_THROW(
        ReportDocument(MinimalPackage("<w:p/>", "", "application/vnd.ms-word.template.macroEnabledTemplate.main+xml"),
                       "t.dotm"),
        FileError);
    OfficePackage broken = MinimalPackage("<w:p>");
    EXPECT_THROW(ReportDocument(broken, "t.docx"), FileError);
    OfficePackage empty;
    EXPECT_THROW(ReportDocument(empty, "t.docx"), FileError);
}

TEST(ReportDocument, PageSetupAndItsFallbacks) {
    ReportDocument doc(MinimalPackage("<w:p/>"), "t.docx");
    const PageSetup a4 = doc.LastSectionPageSetup();
    EXPECT_NEAR(a4.pageHeight, 841.9, 0.01);
    EXPECT_NEAR(a4.leftMargin, 70.85, 0.01);
    const UsablePage page = UsablePageOf(a4);
    EXPECT_EQ(page.height, 700);
    EXPECT_EQ(page.width, 454);
    EXPECT_EQ(ReportGraphHeight(page.height), 340);
    // Margins larger than the page: page less 144 / 85 points.
    const UsablePage wide = UsablePageOf({842, 595, 500, 500, 400, 400});
    EXPECT_EQ(wide.height, 698);
    EXPECT_EQ(wide.width, 510);
    const UsablePage none = UsablePageOf({});
    EXPECT_EQ(none.height, 680);
    EXPECT_EQ(none.width, 510);
    const UsablePage huge = UsablePageOf({20000, 20000, 0, 0, 0, 0});
    EXPECT_EQ(huge.height, 680);
    EXPECT_EQ(huge.width, 510);
}

TEST(OfficePackage, WritesWholeFilesOnly) {
    testing::TempDir dir;
    const std::string out = dir.Path("r.docx");
    MinimalPackage("<w:p><w:r><w:t>x</w:t></w:r></w:p>").Write(out);
    const OfficePackage back = OfficePackage::Read(out);
    EXPECT_TRUE(back.Find("word/document.xml"));
    EXPECT_THROW(MinimalPackage("<w:p/>").Write(dir.Path("no/such/folder/r.docx")), FileError);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root()))
        EXPECT_EQ(entry.path().filename().string().find(".~tmp"), std::string::npos);
    testing::WriteBytes(dir.Path("plain.docx"), {'n', 'o', 't', ' ', 'z', 'i', 'p'});
    EXPECT_THROW(OfficePackage::Read(dir.Path("plain.docx")), FileError);
}

#ifndef _WIN32
TEST(OfficePackage, AFullDiskKeepsThePreviousDocument) {
    testing::TempDir dir;
    const std::string out = dir.Path("r.docx");
    MinimalPackage("<w:p><w:r><w:t>old</w:t></w:r></w:p>").Write(out);
    const auto before = testing::ReadBytes(out);
    OfficePackage big = MinimalPackage("<w:p/>");
    std::string noise(400000, '\0');
    std::uint32_t x = 12345;
    for (char& c : noise) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    big.Put("word/media/noise.png", noise);
    const faults::ChildOutcome child = faults::RunWithFault({100000, false}, [&] {
        big.Write(out);
        return std::string();
    });
    ASSERT_TRUE(child.ran);
    EXPECT_NE(child.message.find(out), std::string::npos) << child.message;
    EXPECT_EQ(testing::ReadBytes(out), before);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root()))
        EXPECT_EQ(entry.path().filename().string(), "r.docx");
}
#endif

}  // namespace
}  // namespace corvan
