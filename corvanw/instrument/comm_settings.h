#pragma once
// The link settings kept in section "Comm". The settings store of the main
// window implements SettingsAccess; the link and its dialog only see this.

#include <string>

#include "data/settings_access.h"

namespace corvan {

inline constexpr const char* kCommSection = "Comm";
inline constexpr const char* kPortKey = "Port";
inline constexpr const char* kBaudKey = "CorvanBaud";
// A device path chosen from the system's serial devices; empty when the
// link uses the numbered port.
inline constexpr const char* kDeviceKey = "Device";

inline constexpr int kDefaultPort = 1;
inline constexpr int kDefaultBaud = 9600;

struct CommSettings {
    int port = kDefaultPort;
    int baud = kDefaultBaud;
    std::string device;
};

// A stored integer; text that is not a whole number gives the default.
int ParseSettingInteger(const std::string& text, int defaultValue);

CommSettings LoadCommSettings(const SettingsAccess& store);
void SaveCommSettings(SettingsAccess& store, const CommSettings& settings);

}  // namespace corvan
