#pragma once

#include "platform/PrivateFolder.h"

#include <QStringList>
#include <QTextStream>

#include <chrono>

namespace kivaro {

// kivaro-query: ranks a query against a state file, or with --live against this machine's
// history (copied into `snapshots`), and prints the ranking as JSON.
// Returns the process exit code: 0, or 2 for bad arguments or a bad state file.
int runQueryTool(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 const PrivateFolder* snapshots = nullptr);

class Store;

// Refreshes `store` and runs the event loop until both deliveries (the tabs, then everything)
// came, for at most `limit`. False when the browser did not answer in time: the store then
// holds what arrived.
bool refreshFully(Store& store, std::chrono::milliseconds limit);

} // namespace kivaro
