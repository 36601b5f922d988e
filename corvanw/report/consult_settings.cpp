#include "report/consult_settings.h"

namespace corvan {

namespace {
std::string OnKey(const std::string& name) { return "dpOn_" + name; }
std::string TextKey(const std::string& name) { return "dpTx_" + name; }
std::string CheckKey(const std::string& name) { return "dpCk_" + name; }
}  // namespace

StartupValue ReadStartupValue(const SettingsAccess& store, const std::string& name) {
    StartupValue v;
    v.stored = store.ReadBool(kConsultSection, OnKey(name), false);
    if (!v.stored) return v;
    v.text = store.ReadString(kConsultSection, TextKey(name), "");
    v.checked = store.ReadBool(kConsultSection, CheckKey(name), false);
    return v;
}

void StoreStartupValue(SettingsAccess& store, const std::string& name, bool isCheckBox, const std::string& text,
                       bool checked) {
    store.WriteBool(kConsultSection, OnKey(name), true);
    if (isCheckBox) {
        store.WriteBool(kConsultSection, CheckKey(name), checked);
    } else {
        store.WriteString(kConsultSection, TextKey(name), text);
    }
}

void ClearStartupValue(SettingsAccess& store, const std::string& name) {
    store.WriteBool(kConsultSection, OnKey(name), false);
}

StartupMenuState StartupMenuFor(bool isCheckBox, bool stored, const std::string& editText) {
    StartupMenuState s;
    s.useEnabled = isCheckBox || !editText.empty();
    s.clearEnabled = stored;
    s.clearCaption = isCheckBox ? kClearCheckCaption : kClearEditCaption;
    return s;
}

}  // namespace corvan
