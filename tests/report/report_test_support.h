#pragma once
// Small word-processing packages written by the tests, and the paragraph
// texts of a part as a reader sees them.

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "report/office_package.h"
#include "report/report_document.h"

namespace corvan::testing {

inline const char* kWordNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

// A4 with 2.5 cm margins; a footer when footerText is given.
inline OfficePackage MinimalPackage(const std::string& bodyXml, const std::string& footerText = "",
                                    const std::string& mainType = kDocumentMainType) {
    OfficePackage p;
    std::string types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" ContentType=\"" +
        mainType + "\"/>";
    if (!footerText.empty())
        types +=
            "<Override PartName=\"/word/footer1.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml\"/>";
    types += "</Types>";
    p.Put("[Content_Types].xml", types);
    p.Put("_rels/.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
          "Target=\"word/document.xml\"/></Relationships>");
    std::string rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    std::string footerRef;
    if (!footerText.empty()) {
        rels +=
            "<Relationship Id=\"rId9\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer\" "
            "Target=\"footer1.xml\"/>";
        footerRef = "<w:footerReference w:type=\"default\" r:id=\"rId9\"/>";
        p.Put("word/footer1.xml", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:ftr ") + kWordNamespaces +
                                      "><w:p><w:r><w:t xml:space=\"preserve\">" + footerText +
                                      "</w:t></w:r></w:p></w:ftr>");
    }
    rels += "</Relationships>";
    p.Put("word/_rels/document.xml.rels", rels);
    p.Put("word/document.xml", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document ") + kWordNamespaces +
                                   "><w:body>" + bodyXml + "<w:sectPr>" + footerRef +
                                   "<w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1417\" w:right=\"1417\" "
                                   "w:bottom=\"1417\" w:left=\"1417\"/></w:sectPr></w:body></w:document>");
    return p;
}

// The text of every paragraph (outermost first, in document order).
inline std::vector<std::string> ParagraphTexts(const std::string& xml) {
    pugi::xml_document doc;
    doc.load_string(xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    std::vector<std::string> out;
    for (const pugi::xpath_node& p : doc.select_nodes("//w:p")) {
        std::string text;
        for (const pugi::xpath_node& t : p.node().select_nodes(".//w:t")) text += t.node().text().get();
        out.push_back(text);
    }
    return out;
}

// A valid 1 x 1 PNG.
inline std::string TinyPng() {
    static const unsigned char bytes[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
        0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00,
        0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x00, 0x01, 0x00, 0x00, 0x05, 0x00, 0x01,
        0x0D, 0x0A, 0x2D, 0xB4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

}  // namespace corvan::testing
