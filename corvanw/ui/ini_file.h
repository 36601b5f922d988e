#pragma once
// Reading an INI file of "[Section]" headers and "Ident=Value" lines, as the
// first start copies the old settings file into the settings store.

#include <string>
#include <utility>
#include <vector>

namespace corvan {

struct IniEntry {
    std::string section;
    std::string ident;
    std::string value;
};

// Entries in file order. Blank lines and ";" comments are skipped; values
// are taken verbatim (backslashes in paths stay as they are).
std::vector<IniEntry> ParseIni(const std::string& text);

}  // namespace corvan
