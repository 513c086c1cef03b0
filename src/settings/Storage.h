#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

namespace kivaro {

// Where the settings and data folders live, and the one-time move from an earlier build.
namespace Storage {

// The settings store named `identifier`, in the user's scope. This is the one place that
// decides where settings live:
// - macOS: the user-defaults domain `identifier` (~/Library/Preferences/<identifier>.plist);
// - elsewhere: the INI file <identifier>.conf in the user's configuration folder
//   (~/.config), found through QSettings' user scope so that QSettings::setPath redirects it.
// An INI file holding a serialised value ("@Variant(...)", "@DateTime(...)"), which this
// program never writes, is set aside (AtomicFile::asideName) and the settings start afresh:
// Qt reads such a value by the length it declares, so one damaged byte can make it ask for
// gigabytes, on every start.
std::unique_ptr<QSettings> settings(const QString& identifier);
// Whether INI text holds a serialised value.
bool holdsSerialisedValue(const QByteArray& ini);

// The per-user folders data and caches live in (Application Support and Caches on macOS,
// ~/.local/share and ~/.cache on Linux); each holds one folder named after the application.
QStringList baseFolders();

// The application's own data folder: <data folder>/<Identifiers::bundle>.
QString dataFolder();

// Moves each legacy folder under `baseFolders` to the application's name when only the
// legacy one exists, then copies once every legacy setting that `current` does not hold
// (guarded by "migratedSettings"). Failures are ignored.
void migrate(const QStringList& baseFolders, QSettings& current, QSettings& legacy);

// The migration with the real folders and settings; run first thing at start-up.
void migrate();

} // namespace Storage

} // namespace kivaro
