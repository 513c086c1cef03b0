#include "platform/linux/PosixPrivateFolder.h"
#include "tools/query/QueryTool.h"

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>

int main(int argc, char** argv) {
    // Drawing the panel (--render) needs widgets, offscreen unless a platform is named.
    const bool render = std::any_of(argv, argv + argc, [](const char* argument) {
        return std::string_view(argument) == "--render";
    });
    if (render && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application =
        render ? std::make_unique<QApplication>(argc, argv)
               : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kivaro-query"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    // The tool ranks and prints; of the platform's adapters it needs only the private folder
    // for database copies (POSIX on both platforms), and none that talks to the desktop.
    const auto snapshots = kivaro::PosixPrivateFolder::forSnapshots();
    return kivaro::runQueryTool(QCoreApplication::arguments(), out, err, snapshots.get());
}
