#include "ui/ini_file.h"

#include <sstream>

namespace corvan {

namespace {
std::string TrimBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}
}  // namespace

std::vector<IniEntry> ParseIni(const std::string& text) {
    std::vector<IniEntry> entries;
    std::istringstream in(text);
    std::string section;
    for (std::string raw; std::getline(in, raw);) {
        std::string line = TrimBlanks(raw);
        if (line.size() >= 3 && static_cast<unsigned char>(line[0]) == 0xEF &&
            static_cast<unsigned char>(line[1]) == 0xBB && static_cast<unsigned char>(line[2]) == 0xBF) {
            line = TrimBlanks(line.substr(3));
        }
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            section = TrimBlanks(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || section.empty()) continue;
        entries.push_back({section, TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))});
    }
    return entries;
}

}  // namespace corvan
