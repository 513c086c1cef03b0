#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace kivaro::testing {

// The two kinds of settings store the program meets: the INI file QSettings writes on
// Linux (values come back as text) and a store that keeps types, as the Mac's user
// defaults do.
enum class StoreKind { ini, typed };

// A settings store of `kind` in the file `path`.
std::unique_ptr<QSettings> settingsFile(StoreKind kind, const QString& path);

const char* name(StoreKind kind);

} // namespace kivaro::testing
