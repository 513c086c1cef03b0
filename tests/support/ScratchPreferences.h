#pragma once

#include "settings/Preferences.h"
#include "support/TestSettings.h"

#include <QTemporaryDir>

namespace kivaro::testing {

// Preferences over an INI file in a temporary folder of their own, gone with them.
struct ScratchPreferences {
    QTemporaryDir folder;
    Preferences preferences{
        settingsFile(StoreKind::ini, folder.filePath(QStringLiteral("settings.conf")))};
};

} // namespace kivaro::testing
