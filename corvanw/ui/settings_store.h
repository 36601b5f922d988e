#pragma once
// The program's settings over QSettings: organisation "Rendal", application
// "CvInstr" (the registry key \Software\Rendal\CvInstr on Windows, an INI
// file in the user's configuration folder elsewhere). On the first start
// the store is filled from the old INI file "CvInstr.ini".

#include <QSettings>
#include <QStringList>
#include <memory>
#include <string>

#include "data/settings_access.h"

namespace corvan {

inline constexpr const char* kOrganisationName = "Rendal";
inline constexpr const char* kSettingsApplicationName = "CvInstr";
inline constexpr const char* kSeedIniFileName = "CvInstr.ini";

inline constexpr const char* kIMarginSection = "Chart";
inline constexpr const char* kIMarginIdent = "IMargin";
inline constexpr int kDefaultIMargin = 50;
inline constexpr const char* kDirectorySection = "Directory";
inline constexpr const char* kCorvanDirectoryIdent = "Corvan";
inline constexpr const char* kDefaultDirectory = "c:\\";

class SettingsStore : public SettingsAccess {
public:
    // The user's store.
    SettingsStore();
    // A store in the given INI file (tests, portable installs).
    explicit SettingsStore(const QString& iniFileName);

    bool Contains(const std::string& section, const std::string& ident) const override;
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) const override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;

    // True when the store holds nothing yet.
    bool IsNew() const;
    // On a new store, copies every section and identifier of the first INI
    // file found among the candidates; returns the file used, or empty.
    QString SeedIfNew(const QStringList& iniCandidates);
    // Where the program looks for the seeding INI file: beside the program,
    // then in the working folder.
    static QStringList DefaultSeedCandidates();

    void Sync();
    QSettings& Raw() { return *settings_; }

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace corvan
