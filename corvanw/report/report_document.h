#pragma once
// A word-processing document made from a template: placeholders filled even
// where the word processor split them over runs, a position's heading,
// pictures and summary table placed at its section placeholder, "m#3" and
// "m#2" set as superscript digits. Office Open XML through pugixml, packed
// by OfficePackage.

#include <memory>
#include <string>
#include <vector>

#include "report/office_package.h"
#include "report/report_values.h"

namespace corvan {

// The last section's page setup, in points.
struct PageSetup {
    double pageHeight = 0.0;
    double pageWidth = 0.0;
    double topMargin = 0.0;
    double bottomMargin = 0.0;
    double leftMargin = 0.0;
    double rightMargin = 0.0;
};

// Usable page in whole points, with the fallbacks for a page setup out of
// range (height: page height - 144, then 680; width: page width - 85, then
// 510). A usable size of zero or less counts as out of range: nothing could
// be drawn into it.
struct UsablePage {
    int height = 680;
    int width = 510;
};
UsablePage UsablePageOf(const PageSetup& setup);
// Two graphs to a page below a heading at the top of the page.
int ReportGraphHeight(int usableHeight);

// One picture for the document: PNG bytes, optionally an SVG twin that
// word processors able to read it show instead, and the alt text.
struct ReportPicture {
    std::string png;
    std::string svg;
    double widthPt = 0.0;
    double heightPt = 0.0;
    std::string description;
};

class ReportDocument {
public:
    // Throws FileError (naming `fileName`) when the package holds no
    // readable main document, or its main part holds macros.
    ReportDocument(OfficePackage package, const std::string& fileName);
    ~ReportDocument();
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    PageSetup LastSectionPageSetup() const;

    // Every occurrence in the body, headers and footers; case is ignored in
    // the placeholder as the word processor's search ignores it.
    int ReplaceAll(const std::string& placeholder, const std::string& value);
    bool Contains(const std::string& text) const;

    // Section placeholders, in the body only.
    bool HasSection(const std::string& placeholder) const;
    // Removes the placeholder and its paragraph when nothing else is left in it.
    void RemoveSection(const std::string& placeholder);
    // The placeholder becomes the heading (in the placeholder's paragraph
    // style); the pictures follow in plain paragraphs, then the summary
    // table under its title.
    void FillSection(const std::string& placeholder, const std::string& heading,
                     const std::vector<ReportPicture>& pictures, const SummaryTable* table, int usableWidthPt);

    // "m#3" and then "m#2": the "#" goes, the digit is set in superscript.
    void ApplySuperscripts();

    // Serialises the edited parts; a template's main part becomes a
    // document's. Throws FileError naming the output on failure.
    void Save(const std::string& outputFileName);

    // The package as it would be saved (for tests).
    OfficePackage Package();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Content types of the main part.
inline constexpr const char* kDocumentMainType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
inline constexpr const char* kTemplateMainType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";

}  // namespace corvan
