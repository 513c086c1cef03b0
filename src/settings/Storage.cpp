#include "settings/Storage.h"

#include "base/AtomicFile.h"
#include "base/Identifiers.h"
#include "settings/StoredValue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kivaro::Storage {

namespace {

const QString migratedKey = QStringLiteral("migratedSettings");
// Far beyond any settings file; only this much is looked at for serialised values.
constexpr qint64 largestSettings = 16 * 1024 * 1024;

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
    auto settings =
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, identifier);
    // QSettings parses the file's values on first use, so it can still be moved now.
    QFile file(settings->fileName());
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly) ||
        !holdsSerialisedValue(file.read(largestSettings)))
        return settings;
    file.close();
    settings.reset();
    QFile::rename(file.fileName(), AtomicFile::asideName(file.fileName()));
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, identifier);
#endif
}

bool holdsSerialisedValue(const QByteArray& ini) {
    // Anywhere, not only after "=": list items are read the same way, and "@" may be escaped.
    return ini.contains("Variant(") || ini.contains("DateTime(");
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
