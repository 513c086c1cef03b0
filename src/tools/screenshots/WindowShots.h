#pragma once

#include <QDir>

namespace kivaro {

// Draws every settings pane, the settings search and every welcome page, light and dark, into
// `folder`. False when a picture could not be written.
bool saveWindowShots(const QDir& folder);

} // namespace kivaro
