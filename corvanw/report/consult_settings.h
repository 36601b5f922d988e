#pragma once
// The report dialog's remembered values: the template and, per edit box or
// check box, a startup value the user chose to keep ("Consult" section).

#include <string>

#include "data/settings_access.h"

namespace corvan {

inline constexpr const char* kConsultSection = "Consult";
inline constexpr const char* kConsultTemplateIdent = "Template";
inline constexpr const char* kUseAsStartupCaption = "Use as startup value";
inline constexpr const char* kClearDefaultCaption = "Clear default value";
inline constexpr const char* kClearCheckCaption = "Use program default startup value";
inline constexpr const char* kClearEditCaption = "Clear startup value";

struct StartupValue {
    bool stored = false;
    std::string text;
    bool checked = false;
};

StartupValue ReadStartupValue(const SettingsAccess& store, const std::string& name);
// Marks the value stored and keeps the edit's text or the check state.
void StoreStartupValue(SettingsAccess& store, const std::string& name, bool isCheckBox, const std::string& text,
                       bool checked);
// Only the flag goes; the kept text or state stays in the store, unused.
void ClearStartupValue(SettingsAccess& store, const std::string& name);

struct StartupMenuState {
    bool useEnabled = false;
    bool clearEnabled = false;
    std::string clearCaption;
};
StartupMenuState StartupMenuFor(bool isCheckBox, bool stored, const std::string& editText);

}  // namespace corvan
