#pragma once

#include <QString>

namespace kivaro {

class PanelController;
class Store;

// The picture a --screenshot run writes: the panel opened in new-tab mode once the store's
// first refresh is in, `query` typed, and its rows drawn. Returns the process's exit code
// and says on standard error what went wrong.
int takeScreenshot(Store& store, PanelController& panel, const QString& file, const QString& query);

} // namespace kivaro
