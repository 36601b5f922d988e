#include "ui/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "ui/ini_file.h"

namespace corvan {

namespace {
QString Key(const std::string& section, const std::string& ident) {
    return QString::fromStdString(section) + "/" + QString::fromStdString(ident);
}
}  // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisationName,
                                            kSettingsApplicationName)) {}

SettingsStore::SettingsStore(const QString& iniFileName)
    : settings_(std::make_unique<QSettings>(iniFileName, QSettings::IniFormat)) {}

bool SettingsStore::Contains(const std::string& section, const std::string& ident) const {
    return settings_->contains(Key(section, ident));
}

std::string SettingsStore::ReadString(const std::string& section, const std::string& ident,
                                      const std::string& defaultValue) const {
    const QVariant v = settings_->value(Key(section, ident));
    if (!v.isValid()) return defaultValue;
    return v.toString().toStdString();
}

void SettingsStore::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    settings_->setValue(Key(section, ident), QString::fromStdString(value));
}

bool SettingsStore::IsNew() const { return settings_->allKeys().isEmpty(); }

QString SettingsStore::SeedIfNew(const QStringList& candidates) {
    if (!IsNew()) return {};
    for (const QString& name : candidates) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = f.readAll();
        // Old INI files are in the Windows code page; plain ASCII is the
        // common case and Latin-1 keeps every other byte.
        const QString text = QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter) ? QString::fromLatin1(bytes)
                                                                                            : QString::fromUtf8(bytes);
        for (const IniEntry& e : ParseIni(text.toStdString())) WriteString(e.section, e.ident, e.value);
        settings_->sync();
        return name;
    }
    return {};
}

QStringList SettingsStore::DefaultSeedCandidates() {
    QStringList list;
    if (QCoreApplication::instance()) list << QDir(QCoreApplication::applicationDirPath()).filePath(kSeedIniFileName);
    list << QDir::current().filePath(kSeedIniFileName);
    return list;
}

void SettingsStore::Sync() { settings_->sync(); }

}  // namespace corvan
