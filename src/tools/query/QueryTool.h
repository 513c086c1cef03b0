#pragma once

#include "platform/PrivateFolder.h"

#include <QStringList>
#include <QTextStream>

namespace kivaro {

// kivaro-query: ranks a query against a state file, or with --live against this machine's
// history (copied into `snapshots`), and prints the ranking as JSON.
// Returns the process exit code: 0, or 2 for bad arguments or a bad state file.
int runQueryTool(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 const PrivateFolder* snapshots = nullptr);

} // namespace kivaro
