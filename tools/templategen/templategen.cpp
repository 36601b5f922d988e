// corvan-templategen FOLDER OUT.docx: packs the parts of a document kept as
// XML files in FOLDER into a word-processing document, so the bundled
// report template is built from sources we can read and review.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "data/file_error.h"
#include "report/office_package.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvan-templategen FOLDER OUT.docx\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path root = argv[1];
    // Sorted, and the content types first, as word processors write them.
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) names.insert(fs::relative(entry.path(), root).generic_string());
    }
    corvan::OfficePackage package;
    const auto add = [&](const std::string& name) {
        std::ifstream in(root / name, std::ios::binary);
        package.Put(name, std::string(std::istreambuf_iterator<char>(in), {}));
    };
    if (names.erase("[Content_Types].xml")) add("[Content_Types].xml");
    for (const std::string& name : names) add(name);
    try {
        package.Write(argv[2]);
    } catch (const corvan::FileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
