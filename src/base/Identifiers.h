#pragma once

#include <QString>

namespace kivaro::Identifiers {

// The application's identifier: the name of its settings, its data folders and its threads.
inline const QString bundle = QStringLiteral("app.kivaro.Kivaro");
// The identifier an earlier build kept its settings and folders under.
inline const QString legacy = QStringLiteral("app.kivaro.shared");

} // namespace kivaro::Identifiers
