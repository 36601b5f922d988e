#pragma once
// The settings store as every part of the program sees it: INI-style
// sections and identifiers holding texts, with typed helpers. The desktop
// implements it over QSettings (the registry on Windows); tests and the
// command line use an in-memory one.

#include <map>
#include <string>
#include <utility>

namespace corvan {

// Every operation has a default built on the others, so a store may
// implement the text pair (ReadString/WriteString) or the typed ones.
class SettingsAccess {
public:
    virtual ~SettingsAccess() = default;

    virtual bool Contains(const std::string& section, const std::string& ident) const;
    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue) const;
    virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value);

    // The stored value, or defaultValue when the identifier is absent or
    // does not hold a value of the type.
    virtual int ReadInteger(const std::string& section, const std::string& ident, int defaultValue) const;
    virtual bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const;
    virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
    virtual void WriteBool(const std::string& section, const std::string& ident, bool value);
};

class MemorySettings : public SettingsAccess {
public:
    bool Contains(const std::string& section, const std::string& ident) const override;
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) const override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

// A whole decimal integer (surrounding blanks allowed), else nullopt-like
// failure reported through ok.
int ParseWholeNumber(const std::string& text, int defaultValue, bool* ok = nullptr);

}  // namespace corvan
