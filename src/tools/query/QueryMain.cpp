#include "tools/query/QueryTool.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kivaro-query"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto snapshots = kivaro::snapshotFolder();
    return kivaro::runQueryTool(QCoreApplication::arguments(), out, err, snapshots.get());
}
