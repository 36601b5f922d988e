#include "data/settings_access.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace corvan {

int ParseWholeNumber(const std::string& text, int defaultValue, bool* ok) {
    const auto b = text.find_first_not_of(" \t");
    const auto e = text.find_last_not_of(" \t");
    if (ok) *ok = false;
    if (b == std::string::npos) return defaultValue;
    const std::string t = text.substr(b, e - b + 1);
    errno = 0;
    char* end = nullptr;
    // long long: a Windows long is as narrow as int, and the range test
    // must see the value before it is cut.
    const long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno != 0 || end != t.c_str() + t.size() || v < std::numeric_limits<int>::min() ||
        v > std::numeric_limits<int>::max())
        return defaultValue;
    if (ok) *ok = true;
    return static_cast<int>(v);
}

namespace {
// A value no store holds, to tell "absent" from "empty".
constexpr const char* kAbsent =
    "\x01"
    "absent"
    "\x01";
}  // namespace

bool SettingsAccess::Contains(const std::string& section, const std::string& ident) const {
    return ReadString(section, ident, kAbsent) != kAbsent;
}

std::string SettingsAccess::ReadString(const std::string&, const std::string&, const std::string& defaultValue) const {
    return defaultValue;
}

void SettingsAccess::WriteString(const std::string&, const std::string&, const std::string&) {}

int SettingsAccess::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) const {
    return ParseWholeNumber(ReadString(section, ident, ""), defaultValue);
}

bool SettingsAccess::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const {
    const std::string v = ReadString(section, ident, "");
    if (v == "true" || v == "True" || v == "TRUE") return true;
    if (v == "false" || v == "False" || v == "FALSE") return false;
    bool ok = false;
    const int n = ParseWholeNumber(v, 0, &ok);
    return ok ? n != 0 : defaultValue;
}

void SettingsAccess::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

void SettingsAccess::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

bool MemorySettings::Contains(const std::string& section, const std::string& ident) const {
    return values_.count({section, ident}) != 0;
}

std::string MemorySettings::ReadString(const std::string& section, const std::string& ident,
                                       const std::string& defaultValue) const {
    const auto it = values_.find({section, ident});
    return it == values_.end() ? defaultValue : it->second;
}

void MemorySettings::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    values_[{section, ident}] = value;
}

}  // namespace corvan
