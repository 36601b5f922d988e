#include "instrument/comm_settings.h"

#include <charconv>

namespace corvan {

namespace {
// The port is a byte; a stored number beyond it is not a port.
constexpr int kLargestPort = 255;
}  // namespace

int ParseSettingInteger(const std::string& text, int defaultValue) {
    const auto b = text.find_first_not_of(' ');
    if (b == std::string::npos) return defaultValue;
    const auto e = text.find_last_not_of(' ') + 1;
    const char* first = text.data() + b;
    const char* end = text.data() + e;
    if (*first == '+') ++first;
    int value = 0;
    const auto [p, ec] = std::from_chars(first, end, value);
    if (ec != std::errc() || p != end) return defaultValue;
    return value;
}

CommSettings LoadCommSettings(const SettingsAccess& store) {
    CommSettings s;
    s.port = ParseSettingInteger(store.ReadString(kCommSection, kPortKey, std::to_string(kDefaultPort)), kDefaultPort);
    if (s.port < 0 || s.port > kLargestPort) s.port = kDefaultPort;
    s.baud = ParseSettingInteger(store.ReadString(kCommSection, kBaudKey, std::to_string(kDefaultBaud)), kDefaultBaud);
    if (s.baud <= 0) s.baud = kDefaultBaud;
    s.device = store.ReadString(kCommSection, kDeviceKey, "");
    return s;
}

void SaveCommSettings(SettingsAccess& store, const CommSettings& s) {
    store.WriteString(kCommSection, kPortKey, std::to_string(s.port));
    store.WriteString(kCommSection, kBaudKey, std::to_string(s.baud));
    store.WriteString(kCommSection, kDeviceKey, s.device);
}

}  // namespace corvan
