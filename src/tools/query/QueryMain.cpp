#include "platform/linux/PosixPrivateFolder.h"
#include "tools/query/QueryTool.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kivaro-query"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    // The tool ranks and prints; of the platform's adapters it needs only the private folder
    // for database copies (POSIX on both platforms), and none that talks to the desktop.
    const auto snapshots = kivaro::PosixPrivateFolder::forSnapshots();
    return kivaro::runQueryTool(QCoreApplication::arguments(), out, err, snapshots.get());
}
