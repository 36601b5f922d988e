// A report template made of the input: its parts straight into a package
// (the XML the document code edits), or, with the first byte odd, the whole
// input as a file for the package reader (the zip archive). Then every edit
// the report makes.
//
// Parts: a 16-bit name length, the name, a 16-bit data length, the data,
// repeated.

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/file_error.h"
#include "fuzz_support.h"
#include "report/office_package.h"
#include "report/report_document.h"
#include "report/report_values.h"

namespace {

corvan::OfficePackage PartsOf(corvan::fuzz::Input& in) {
    corvan::OfficePackage package;
    while (in.Left() > 0) {
        const auto name = in.Take(in.U16());
        const auto data = in.Take(in.U16());
        package.Put(std::string(name.begin(), name.end()), std::string(data.begin(), data.end()));
    }
    return package;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const corvan::fuzz::Scratch scratch;
    scratch.Clear();

    corvan::fuzz::Input in(bytes, size);
    const std::uint8_t mode = in.U8();
    try {
        corvan::OfficePackage package;
        if (mode & 1) {
            const std::string file = scratch.Path("template.dotx");
            corvan::fuzz::WriteFile(file, in.Rest(), in.Left());
            package = corvan::OfficePackage::Read(file);
        } else {
            package = PartsOf(in);
        }
        corvan::ReportDocument document(std::move(package), "template.dotx");
        document.LastSectionPageSetup();
        document.ReplaceAll("{corvanTotDyp}", "35 meter");
        document.ReplaceAll("{corvanSted}", "Vik & <Øy>");
        if (document.HasSection(corvan::kSectionPlaceholders[0])) {
            document.RemoveSection(corvan::kSectionPlaceholders[0]);
        }
        if (document.HasSection(corvan::kSectionPlaceholders[2])) {
            document.FillSection(corvan::kSectionPlaceholders[2], corvan::kBottomHeading, {}, nullptr, 400);
        }
        document.ApplySuperscripts();
        document.Save(scratch.Path("report.docx"));
    } catch (const corvan::FileError&) {
    }
    return 0;
}
