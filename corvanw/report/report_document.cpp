#include "report/report_document.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <sstream>

#include "data/file_error.h"

namespace corvan {

namespace {

constexpr const char* kRelationshipsNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kImageRelationship = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
constexpr const char* kWpNs = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr const char* kDrawingNs = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* kPictureNs = "http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr const char* kSvgNs = "http://schemas.microsoft.com/office/drawing/2016/SVG/main";
constexpr const char* kSvgBlipUri = "{96DAC541-7B7A-43D3-8B79-37D633B846F1}";
constexpr const char* kPackageRelsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kMacroMarker = "macroEnabled";

constexpr double kTwipsPerPoint = 20.0;
constexpr long long kEmuPerPoint = 12700;
// 0.1 cm of cell padding above and below, and the decimal tab at 1 cm.
constexpr int kCellPaddingTwips = static_cast<int>(0.1 * 72.0 / 2.54 * kTwipsPerPoint + 0.5);
constexpr int kDecimalTabTwips = static_cast<int>(1.0 * 72.0 / 2.54 * kTwipsPerPoint + 0.5);
constexpr const char* kTableFont = "Arial";
constexpr const char* kTableFontHalfPoints = "20";  // 10 pt

constexpr char kNotText = '\x01';

const unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

bool Named(pugi::xml_node n, const char* name) { return std::strcmp(n.name(), name) == 0; }

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// XML 1.0 has no place for most control characters; a value typed with one
// must not make the document unreadable.
std::string XmlSafe(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t') continue;
        out += c;
    }
    return out;
}

void SetText(pugi::xml_node t, const std::string& text) {
    t.text().set(text.c_str());
    if (!t.attribute("xml:space")) t.append_attribute("xml:space") = "preserve";
}

std::string DirectoryOf(const std::string& part) {
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string RelsNameOf(const std::string& part) {
    const auto slash = part.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
    return dir + "_rels/" + file + ".rels";
}

// A relationship target relative to the part's folder, or absolute.
std::string ResolveTarget(const std::string& baseDir, std::string target) {
    if (!target.empty() && target[0] == '/') return target.substr(1);
    std::string path = baseDir + target;
    std::vector<std::string> out;
    std::stringstream in(path);
    std::string piece;
    while (std::getline(in, piece, '/')) {
        if (piece == "..") {
            if (!out.empty()) out.pop_back();
        } else if (!piece.empty() && piece != ".") {
            out.push_back(piece);
        }
    }
    std::string joined;
    for (const std::string& p : out) joined += (joined.empty() ? "" : "/") + p;
    return joined;
}

// --- Text of a paragraph as the reader sees it --------------------------

struct Piece {
    pugi::xml_node node;
    std::size_t start = 0;
    std::size_t length = 0;
    bool text = false;
};

struct ParagraphText {
    std::string text;
    std::vector<Piece> pieces;
};

void CollectRun(pugi::xml_node run, ParagraphText& out) {
    for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling()) {
        if (Named(c, "w:rPr") || Named(c, "w:lastRenderedPageBreak") || Named(c, "w:delText")) continue;
        Piece piece;
        piece.node = c;
        piece.start = out.text.size();
        if (Named(c, "w:t")) {
            const std::string t = c.text().get();
            piece.length = t.size();
            piece.text = true;
            out.text += t;
        } else {
            // A tab, break, field code or drawing: nothing may match across it.
            piece.length = 1;
            out.text += kNotText;
        }
        out.pieces.push_back(piece);
    }
}

void CollectInto(pugi::xml_node node, ParagraphText& out) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (Named(c, "w:r")) {
            CollectRun(c, out);
        } else if (!Named(c, "w:p") && !Named(c, "w:pPr") && !Named(c, "w:del") && !Named(c, "w:moveFrom")) {
            // Hyperlinks, smart tags, inserted text, simple fields hold runs.
            CollectInto(c, out);
        }
    }
}

ParagraphText Collect(pugi::xml_node p) {
    ParagraphText out;
    CollectInto(p, out);
    return out;
}

// Replaces text[pos, pos + len) with value; the value takes the formatting
// of the run where the replaced text begins.
void ReplaceRange(const ParagraphText& pt, std::size_t pos, std::size_t len, const std::string& value) {
    const std::size_t end = pos + len;
    bool placed = false;
    for (const Piece& pc : pt.pieces) {
        const std::size_t ps = pc.start;
        const std::size_t pe = pc.start + pc.length;
        if (!pc.text || pe <= pos || ps >= end) continue;
        const std::string t = pc.node.text().get();
        const std::size_t a = std::max(pos, ps) - ps;
        const std::size_t b = std::min(end, pe) - ps;
        SetText(pc.node, t.substr(0, a) + (placed ? std::string() : value) + t.substr(b));
        placed = true;
    }
}

int ReplaceInParagraph(pugi::xml_node p, const std::string& needleLower, const std::string& value) {
    int n = 0;
    std::size_t from = 0;
    for (;;) {
        const ParagraphText pt = Collect(p);
        const std::size_t pos = Lower(pt.text).find(needleLower, from);
        if (pos == std::string::npos) return n;
        ReplaceRange(pt, pos, needleLower.size(), value);
        from = pos + value.size();
        ++n;
    }
}

void CollectParagraphs(pugi::xml_node node, std::vector<pugi::xml_node>& out) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (Named(c, "w:p")) out.push_back(c);
        CollectParagraphs(c, out);
    }
}

// Splits `run` before character k of its text child `t`; returns the new
// run that holds the rest.
pugi::xml_node SplitRun(pugi::xml_node run, pugi::xml_node t, std::size_t k) {
    int index = 0;
    for (pugi::xml_node c = run.first_child(); c != t; c = c.next_sibling()) ++index;
    pugi::xml_node right = run.parent().insert_copy_after(run, run);
    const std::string text = t.text().get();
    SetText(t, text.substr(0, k));
    while (t.next_sibling()) run.remove_child(t.next_sibling());
    pugi::xml_node rt = right.first_child();
    for (int i = 0; i < index; ++i) rt = rt.next_sibling();
    for (pugi::xml_node c = right.first_child(); c != rt;) {
        pugi::xml_node next = c.next_sibling();
        if (!Named(c, "w:rPr")) right.remove_child(c);
        c = next;
    }
    SetText(rt, text.substr(k));
    return right;
}

bool HasContentBefore(pugi::xml_node run, pugi::xml_node t) {
    for (pugi::xml_node c = run.first_child(); c != t; c = c.next_sibling()) {
        if (!Named(c, "w:rPr")) return true;
    }
    return false;
}

// The run that holds exactly the one character at `offset` of text node `t`.
pugi::xml_node IsolateCharacter(pugi::xml_node t, std::size_t offset) {
    pugi::xml_node run = t.parent();
    const std::string text = t.text().get();
    if (offset + 1 < text.size() || t.next_sibling()) SplitRun(run, t, offset + 1);
    if (offset > 0 || HasContentBefore(run, t)) {
        // After the first split `t` still ends at offset + 1.
        run = SplitRun(run, t, offset);
    }
    return run;
}

// The run properties that follow vertAlign in the schema's order.
constexpr const char* kAfterVertAlign[] = {"w:rtl",        "w:cs",   "w:em", "w:lang", "w:eastAsianLayout",
                                           "w:specVanish", "w:oMath"};

void SetSuperscript(pugi::xml_node run) {
    pugi::xml_node rPr = run.child("w:rPr");
    if (!rPr) rPr = run.prepend_child("w:rPr");
    rPr.remove_child("w:vertAlign");
    pugi::xml_node before;
    for (pugi::xml_node c = rPr.first_child(); c && !before; c = c.next_sibling()) {
        for (const char* name : kAfterVertAlign) {
            if (Named(c, name)) before = c;
        }
    }
    pugi::xml_node v = before ? rPr.insert_child_before("w:vertAlign", before) : rPr.append_child("w:vertAlign");
    v.append_attribute("w:val") = "superscript";
}

int SuperscriptInParagraph(pugi::xml_node p, const std::string& marker) {
    int n = 0;
    std::size_t from = 0;
    for (;;) {
        ParagraphText pt = Collect(p);
        const std::size_t pos = pt.text.find(marker, from);
        if (pos == std::string::npos) return n;
        ReplaceRange(pt, pos + 1, 1, "");
        pt = Collect(p);
        const std::size_t digit = pos + 1;
        for (const Piece& pc : pt.pieces) {
            if (pc.text && digit >= pc.start && digit < pc.start + pc.length) {
                SetSuperscript(IsolateCharacter(pc.node, digit - pc.start));
                break;
            }
        }
        from = digit + 1;
        ++n;
    }
}

// --- New content ----------------------------------------------------------

void AddRunFont(pugi::xml_node rPr, bool bold) {
    pugi::xml_node fonts = rPr.append_child("w:rFonts");
    fonts.append_attribute("w:ascii") = kTableFont;
    fonts.append_attribute("w:hAnsi") = kTableFont;
    fonts.append_attribute("w:cs") = kTableFont;
    if (bold) {
        rPr.append_child("w:b");
        rPr.append_child("w:bCs");
    }
    rPr.append_child("w:sz").append_attribute("w:val") = kTableFontHalfPoints;
    rPr.append_child("w:szCs").append_attribute("w:val") = kTableFontHalfPoints;
}

pugi::xml_node AddTextRun(pugi::xml_node p, const std::string& text, bool bold, bool leadingTab) {
    pugi::xml_node r = p.append_child("w:r");
    AddRunFont(r.append_child("w:rPr"), bold);
    if (leadingTab) r.append_child("w:tab");
    SetText(r.append_child("w:t"), XmlSafe(text));
    return r;
}

void AddBorderNone(pugi::xml_node borders, const char* side) {
    pugi::xml_node b = borders.append_child(side);
    b.append_attribute("w:val") = "nil";
}

void AddWidth(pugi::xml_node parent, const char* name, int twips) {
    pugi::xml_node w = parent.append_child(name);
    w.append_attribute("w:w") = twips;
    w.append_attribute("w:type") = "dxa";
}

// A rough width of a text in Arial 10, for the caption column.
int EstimatedTextTwips(const std::string& text, bool bold) {
    std::size_t characters = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++characters;
    }
    return static_cast<int>(characters) * (bold ? 125 : 112);
}

void BuildTable(pugi::xml_node tbl, const SummaryTable& table, int usableWidthPt) {
    const int usable = std::max(usableWidthPt, 100) * static_cast<int>(kTwipsPerPoint);
    int captionWidth = 0;
    for (const auto& row : table.cells) captionWidth = std::max(captionWidth, EstimatedTextTwips(row[0], true));
    captionWidth = std::min(captionWidth + 2 * 108, usable / 2);
    // The value columns share one width, as wide as the widest needs.
    int valueWidth = 0;
    for (const auto& row : table.cells) {
        for (int c = 1; c < 4; ++c) {
            valueWidth =
                std::max(valueWidth, EstimatedTextTwips(row[static_cast<std::size_t>(c)], false) + kDecimalTabTwips);
        }
    }
    valueWidth = std::clamp(valueWidth + 2 * 108, 1400, std::max(1400, (usable - captionWidth) / 3));

    pugi::xml_node tblPr = tbl.append_child("w:tblPr");
    AddWidth(tblPr, "w:tblW", captionWidth + 3 * valueWidth);
    pugi::xml_node borders = tblPr.append_child("w:tblBorders");
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
        AddBorderNone(borders, side);
    tblPr.append_child("w:tblLayout").append_attribute("w:type") = "fixed";
    pugi::xml_node margins = tblPr.append_child("w:tblCellMar");
    AddWidth(margins, "w:top", kCellPaddingTwips);
    AddWidth(margins, "w:bottom", kCellPaddingTwips);

    pugi::xml_node grid = tbl.append_child("w:tblGrid");
    grid.append_child("w:gridCol").append_attribute("w:w") = captionWidth;
    for (int c = 1; c < 4; ++c) grid.append_child("w:gridCol").append_attribute("w:w") = valueWidth;

    for (std::size_t r = 0; r < table.cells.size(); ++r) {
        pugi::xml_node tr = tbl.append_child("w:tr");
        if (r == 0) tr.append_child("w:trPr").append_child("w:tblHeader");
        for (int c = 0; c < 4; ++c) {
            const bool header = std::find(table.headerCells.begin(), table.headerCells.end(),
                                          std::pair<int, int>(static_cast<int>(r), c)) != table.headerCells.end();
            pugi::xml_node tc = tr.append_child("w:tc");
            AddWidth(tc.append_child("w:tcPr"), "w:tcW", c == 0 ? captionWidth : valueWidth);
            pugi::xml_node p = tc.append_child("w:p");
            pugi::xml_node pPr = p.append_child("w:pPr");
            // The table stays on one page with its title.
            if (r + 1 < table.cells.size()) pPr.append_child("w:keepNext");
            if (c > 0 && !header) {
                pugi::xml_node tab = pPr.append_child("w:tabs").append_child("w:tab");
                tab.append_attribute("w:val") = "decimal";
                tab.append_attribute("w:pos") = kDecimalTabTwips;
            }
            pugi::xml_node spacing = pPr.append_child("w:spacing");
            spacing.append_attribute("w:before") = 0;
            spacing.append_attribute("w:after") = 0;
            if (header) pPr.append_child("w:jc").append_attribute("w:val") = "center";
            const std::string& text = table.cells[r][static_cast<std::size_t>(c)];
            if (text.empty()) continue;
            const bool bold = r == 0 || c == 0;
            AddTextRun(p, text, bold, c > 0 && !header);
        }
    }
}

std::string Serialise(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

}  // namespace

UsablePage UsablePageOf(const PageSetup& s) {
    UsablePage u;
    const auto inRange = [](double v) { return v > 0.0 && v <= 10000.0; };
    double h = s.pageHeight - s.topMargin - s.bottomMargin;
    if (!inRange(h)) h = s.pageHeight - 144.0;
    if (!inRange(h)) h = 680.0;
    double w = s.pageWidth - s.leftMargin - s.rightMargin;
    if (!inRange(w)) w = s.pageWidth - 85.0;
    if (!inRange(w)) w = 510.0;
    u.height = static_cast<int>(std::lround(h));
    u.width = static_cast<int>(std::lround(w));
    return u;
}

int ReportGraphHeight(int usableHeight) { return std::max(1, (usableHeight - 20) / 2); }

struct ReportDocument::Impl {
    OfficePackage package;
    std::string fileName;
    std::string mainPart;
    std::string mainRelsPart;
    pugi::xml_document main;
    pugi::xml_document mainRels;
    pugi::xml_document contentTypes;
    // Headers, footers and notes: searched by ReplaceAll.
    std::map<std::string, std::unique_ptr<pugi::xml_document>> stories;
    int nextPictureId = 1;
    int nextRelationship = 1;
    int pictureCount = 0;
    bool hasSvg = false;

    void Load(pugi::xml_document& doc, const std::string& part) {
        const std::string* data = package.Find(part);
        if (!data) throw FileError(fileName, "not a word-processing document (" + part + " is missing)");
        const pugi::xml_parse_result r =
            doc.load_buffer(data->data(), data->size(), kParseOptions, pugi::encoding_utf8);
        if (!r) throw FileError(fileName, part + " is damaged: " + r.description());
    }

    std::vector<pugi::xml_document*> AllStories() {
        std::vector<pugi::xml_document*> out{&main};
        for (auto& [name, doc] : stories) out.push_back(doc.get());
        return out;
    }

    pugi::xml_node Body() const { return main.document_element().child("w:body"); }

    // The first paragraph of the body whose text holds `placeholder`.
    pugi::xml_node FindParagraph(const std::string& placeholder) const {
        std::vector<pugi::xml_node> paragraphs;
        CollectParagraphs(Body(), paragraphs);
        const std::string needle = Lower(placeholder);
        for (pugi::xml_node p : paragraphs) {
            if (Lower(Collect(p).text).find(needle) != std::string::npos) return p;
        }
        return {};
    }

    void EnsureNamespace(const char* prefixAttribute, const char* uri) {
        pugi::xml_node root = main.document_element();
        if (!root.attribute(prefixAttribute)) root.append_attribute(prefixAttribute) = uri;
    }

    std::string NewRelationship(const std::string& target) {
        pugi::xml_node rels = mainRels.document_element();
        std::string id;
        for (;;) {
            id = "rIdCorvan" + std::to_string(nextRelationship++);
            bool taken = false;
            for (pugi::xml_node r : rels.children("Relationship")) {
                if (id == r.attribute("Id").value()) taken = true;
            }
            if (!taken) break;
        }
        pugi::xml_node r = rels.append_child("Relationship");
        r.append_attribute("Id") = id.c_str();
        r.append_attribute("Type") = kImageRelationship;
        r.append_attribute("Target") = target.c_str();
        return id;
    }

    void EnsureDefaultType(const char* extension, const char* type) {
        pugi::xml_node types = contentTypes.document_element();
        for (pugi::xml_node d : types.children("Default")) {
            if (Lower(d.attribute("Extension").value()) == extension) return;
        }
        pugi::xml_node d = types.prepend_child("Default");
        d.append_attribute("Extension") = extension;
        d.append_attribute("ContentType") = type;
    }

    pugi::xml_node AddPictureParagraph(pugi::xml_node after, const ReportPicture& picture) {
        ++pictureCount;
        const std::string base = "media/corvan_report_" + std::to_string(pictureCount);
        const std::string mediaDir = DirectoryOf(mainPart);
        package.Put(mediaDir + base + ".png", picture.png);
        const std::string pngId = NewRelationship(base + ".png");
        std::string svgId;
        if (!picture.svg.empty()) {
            package.Put(mediaDir + base + ".svg", picture.svg);
            svgId = NewRelationship(base + ".svg");
            hasSvg = true;
        }
        const long long cx = std::llround(picture.widthPt * kEmuPerPoint);
        const long long cy = std::llround(picture.heightPt * kEmuPerPoint);
        const std::string alt = XmlSafe(picture.description);
        const int id = nextPictureId++;

        pugi::xml_node p = after.parent().insert_child_after("w:p", after);
        pugi::xml_node inl = p.append_child("w:r").append_child("w:drawing").append_child("wp:inline");
        for (const char* d : {"distT", "distB", "distL", "distR"}) inl.append_attribute(d) = 0;
        pugi::xml_node extent = inl.append_child("wp:extent");
        extent.append_attribute("cx") = cx;
        extent.append_attribute("cy") = cy;
        pugi::xml_node effect = inl.append_child("wp:effectExtent");
        for (const char* d : {"l", "t", "r", "b"}) effect.append_attribute(d) = 0;
        pugi::xml_node docPr = inl.append_child("wp:docPr");
        docPr.append_attribute("id") = id;
        docPr.append_attribute("name") = ("Picture " + std::to_string(id)).c_str();
        docPr.append_attribute("descr") = alt.c_str();
        pugi::xml_node locks = inl.append_child("wp:cNvGraphicFramePr").append_child("a:graphicFrameLocks");
        locks.append_attribute("noChangeAspect") = 1;
        pugi::xml_node data = inl.append_child("a:graphic").append_child("a:graphicData");
        data.append_attribute("uri") = kPictureNs;
        pugi::xml_node pic = data.append_child("pic:pic");
        pugi::xml_node nv = pic.append_child("pic:nvPicPr");
        pugi::xml_node cNvPr = nv.append_child("pic:cNvPr");
        cNvPr.append_attribute("id") = 0;
        cNvPr.append_attribute("name") = (base.substr(base.rfind('/') + 1) + ".png").c_str();
        cNvPr.append_attribute("descr") = alt.c_str();
        nv.append_child("pic:cNvPicPr");
        pugi::xml_node fill = pic.append_child("pic:blipFill");
        pugi::xml_node blip = fill.append_child("a:blip");
        blip.append_attribute("r:embed") = pngId.c_str();
        if (!svgId.empty()) {
            pugi::xml_node ext = blip.append_child("a:extLst").append_child("a:ext");
            ext.append_attribute("uri") = kSvgBlipUri;
            pugi::xml_node svg = ext.append_child("asvg:svgBlip");
            svg.append_attribute("xmlns:asvg") = kSvgNs;
            svg.append_attribute("r:embed") = svgId.c_str();
        }
        fill.append_child("a:stretch").append_child("a:fillRect");
        pugi::xml_node spPr = pic.append_child("pic:spPr");
        pugi::xml_node xfrm = spPr.append_child("a:xfrm");
        pugi::xml_node off = xfrm.append_child("a:off");
        off.append_attribute("x") = 0;
        off.append_attribute("y") = 0;
        pugi::xml_node ext = xfrm.append_child("a:ext");
        ext.append_attribute("cx") = cx;
        ext.append_attribute("cy") = cy;
        pugi::xml_node geometry = spPr.append_child("a:prstGeom");
        geometry.append_attribute("prst") = "rect";
        geometry.append_child("a:avLst");
        return p;
    }
};

ReportDocument::ReportDocument(OfficePackage package, const std::string& fileName) : impl_(std::make_unique<Impl>()) {
    Impl& m = *impl_;
    m.package = std::move(package);
    m.fileName = fileName;

    pugi::xml_document rootRels;
    m.Load(rootRels, "_rels/.rels");
    for (pugi::xml_node r : rootRels.document_element().children("Relationship")) {
        const std::string type = r.attribute("Type").value();
        if (type.size() >= 15 && type.compare(type.size() - 15, 15, "/officeDocument") == 0) {
            m.mainPart = ResolveTarget("", r.attribute("Target").value());
        }
    }
    if (m.mainPart.empty()) throw FileError(fileName, "not a word-processing document (no main part)");

    m.Load(m.contentTypes, "[Content_Types].xml");
    for (pugi::xml_node o : m.contentTypes.document_element().children("Override")) {
        if (ResolveTarget("", o.attribute("PartName").value()) != m.mainPart) continue;
        const std::string type = o.attribute("ContentType").value();
        if (type.find(kMacroMarker) != std::string::npos)
            throw FileError(fileName, "holds macros; save it as a .dotx or .docx template without macros");
        if (type == kTemplateMainType) o.attribute("ContentType") = kDocumentMainType;
    }

    m.Load(m.main, m.mainPart);
    if (!m.main.document_element().child("w:body"))
        throw FileError(fileName, "not a word-processing document (no body)");

    m.mainRelsPart = RelsNameOf(m.mainPart);
    if (m.package.Contains(m.mainRelsPart)) {
        m.Load(m.mainRels, m.mainRelsPart);
    } else {
        m.mainRels.append_child("Relationships").append_attribute("xmlns") = kPackageRelsNs;
    }
    const std::string mainDir = DirectoryOf(m.mainPart);
    for (pugi::xml_node r : m.mainRels.document_element().children("Relationship")) {
        const std::string type = r.attribute("Type").value();
        const auto endsWith = [&](const char* s) {
            const std::size_t n = std::strlen(s);
            return type.size() >= n && type.compare(type.size() - n, n, s) == 0;
        };
        if (std::string(r.attribute("TargetMode").value()) == "External") continue;
        if (endsWith("/header") || endsWith("/footer") || endsWith("/footnotes") || endsWith("/endnotes")) {
            const std::string part = ResolveTarget(mainDir, r.attribute("Target").value());
            auto doc = std::make_unique<pugi::xml_document>();
            m.Load(*doc, part);
            m.stories[part] = std::move(doc);
        }
    }

    // Picture ids must stay unique in the document.
    for (pugi::xpath_node n : m.main.select_nodes("//wp:docPr")) {
        m.nextPictureId = std::max(m.nextPictureId, n.node().attribute("id").as_int() + 1);
    }
    m.EnsureNamespace("xmlns:w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main");
    m.EnsureNamespace("xmlns:r", kRelationshipsNs);
    m.EnsureNamespace("xmlns:wp", kWpNs);
    m.EnsureNamespace("xmlns:a", kDrawingNs);
    m.EnsureNamespace("xmlns:pic", kPictureNs);
}

ReportDocument::~ReportDocument() = default;

PageSetup ReportDocument::LastSectionPageSetup() const {
    PageSetup s;
    pugi::xml_node sectPr = impl_->Body().child("w:sectPr");
    if (!sectPr) return s;
    const auto points = [](pugi::xml_node n, const char* attribute) {
        return std::fabs(n.attribute(attribute).as_double()) / kTwipsPerPoint;
    };
    pugi::xml_node size = sectPr.child("w:pgSz");
    s.pageWidth = points(size, "w:w");
    s.pageHeight = points(size, "w:h");
    pugi::xml_node margins = sectPr.child("w:pgMar");
    s.topMargin = points(margins, "w:top");
    s.bottomMargin = points(margins, "w:bottom");
    s.leftMargin = points(margins, "w:left");
    s.rightMargin = points(margins, "w:right");
    return s;
}

int ReportDocument::ReplaceAll(const std::string& placeholder, const std::string& value) {
    const std::string needle = Lower(placeholder);
    const std::string safe = XmlSafe(value);
    int n = 0;
    for (pugi::xml_document* doc : impl_->AllStories()) {
        std::vector<pugi::xml_node> paragraphs;
        CollectParagraphs(*doc, paragraphs);
        for (pugi::xml_node p : paragraphs) n += ReplaceInParagraph(p, needle, safe);
    }
    return n;
}

bool ReportDocument::Contains(const std::string& text) const {
    for (pugi::xml_document* doc : impl_->AllStories()) {
        std::vector<pugi::xml_node> paragraphs;
        CollectParagraphs(*doc, paragraphs);
        for (pugi::xml_node p : paragraphs) {
            if (Collect(p).text.find(text) != std::string::npos) return true;
        }
    }
    return false;
}

bool ReportDocument::HasSection(const std::string& placeholder) const {
    return static_cast<bool>(impl_->FindParagraph(placeholder));
}

void ReportDocument::RemoveSection(const std::string& placeholder) {
    pugi::xml_node p = impl_->FindParagraph(placeholder);
    if (!p) return;
    ReplaceInParagraph(p, Lower(placeholder), "");
    const ParagraphText rest = Collect(p);
    const bool blank = rest.text.find_first_not_of(" \t") == std::string::npos;
    if (!blank || p.child("w:pPr").child("w:sectPr")) return;
    // A table cell must keep one paragraph.
    pugi::xml_node parent = p.parent();
    int siblings = 0;
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (Named(c, "w:p") || Named(c, "w:tbl")) ++siblings;
    }
    if (siblings > 1) parent.remove_child(p);
}

void ReportDocument::FillSection(const std::string& placeholder, const std::string& heading,
                                 const std::vector<ReportPicture>& pictures, const SummaryTable* table,
                                 int usableWidthPt) {
    Impl& m = *impl_;
    pugi::xml_node p = m.FindParagraph(placeholder);
    if (!p) return;
    ReplaceInParagraph(p, Lower(placeholder), XmlSafe(heading));
    pugi::xml_node anchor = p;
    for (const ReportPicture& picture : pictures) anchor = m.AddPictureParagraph(anchor, picture);
    if (!table) return;
    anchor = anchor.parent().insert_child_after("w:p", anchor);
    pugi::xml_node title = anchor.parent().insert_child_after("w:p", anchor);
    title.append_child("w:pPr").append_child("w:keepNext");
    AddTextRun(title, kReportSummaryTitle, true, false);
    anchor = title;
    pugi::xml_node tbl = anchor.parent().insert_child_after("w:tbl", anchor);
    BuildTable(tbl, *table, usableWidthPt);
    tbl.parent().insert_child_after("w:p", tbl);
}

void ReportDocument::ApplySuperscripts() {
    for (pugi::xml_document* doc : impl_->AllStories()) {
        std::vector<pugi::xml_node> paragraphs;
        CollectParagraphs(*doc, paragraphs);
        for (const char* marker : {"m#3", "m#2"}) {
            for (pugi::xml_node p : paragraphs) SuperscriptInParagraph(p, marker);
        }
    }
}

OfficePackage ReportDocument::Package() {
    Impl& m = *impl_;
    if (m.pictureCount > 0) m.EnsureDefaultType("png", "image/png");
    if (m.hasSvg) m.EnsureDefaultType("svg", "image/svg+xml");
    OfficePackage out = m.package;
    out.Put(m.mainPart, Serialise(m.main));
    out.Put(m.mainRelsPart, Serialise(m.mainRels));
    out.Put("[Content_Types].xml", Serialise(m.contentTypes));
    for (auto& [name, doc] : m.stories) out.Put(name, Serialise(*doc));
    return out;
}

void ReportDocument::Save(const std::string& outputFileName) { Package().Write(outputFileName); }

}  // namespace corvan
