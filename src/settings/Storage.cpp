#include "base/Identifiers.h"
#include "settings/StoredValue.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kivaro::Storage {

namespace {

const QString migratedKey = QStringLiteral("migratedSettings");

void moveLegacyFolder(const QString& base) {
    const QDir folder(base);
    const QString legacy = folder.filePath(Identifiers::legacy);
    const QString current = folder.filePath(Identifiers::bundle);
    // A link in either place counts as existing: never move onto or through one blindly.
    const QFileInfo legacyInfo(legacy);
    const QFileInfo currentInfo(current);
    if (!legacyInfo.isDir() || currentInfo.exists() || currentInfo.isSymLink())
        return;
    QDir().rename(legacy, current);
}

void copyMissingSettings(QSettings& current, QSettings& legacy) {
    for (const QString& key : legacy.allKeys()) {
        if (!current.contains(key))
            current.setValue(key, legacy.value(key));
    }
}

} // namespace

std::unique_ptr<QSettings> settings(const QString& identifier) {
#ifdef Q_OS_MACOS
    return std::make_unique<QSettings>(QDir::homePath() + QStringLiteral("/Library/Preferences/") +
                                           identifier + QStringLiteral(".plist"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, identifier);
#endif
}

QStringList baseFolders() {
    return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)};
}

QString dataFolder() {
    return QDir(baseFolders().constFirst()).filePath(Identifiers::bundle);
}

void migrate(const QStringList& baseFolders, QSettings& current, QSettings& legacy) {
    for (const QString& base : baseFolders) {
        if (!base.isEmpty())
            moveLegacyFolder(base);
    }
    if (StoredValue::boolean(current.value(migratedKey), StoredValue::formOf(current))
            .value_or(false))
        return;
    copyMissingSettings(current, legacy);
    current.setValue(migratedKey, true);
    current.sync();
}

void migrate() {
    const auto current = settings(Identifiers::bundle);
    const auto legacy = settings(Identifiers::legacy);
    migrate(baseFolders(), *current, *legacy);
}

} // namespace kivaro::Storage
