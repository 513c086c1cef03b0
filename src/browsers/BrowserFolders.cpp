#include "browsers/BrowserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace kivaro::BrowserFolders {

namespace {

#ifdef Q_OS_MACOS
QString underHome(const QString& path) {
    return QDir::homePath() + u'/' + path;
}
#endif

} // namespace

const QList<ChromiumFolder>& chromiumFamily() {
#ifdef Q_OS_MACOS
    static const QList<ChromiumFolder> family{
        {QStringLiteral("com.google.Chrome"), QStringLiteral("Chrome"),
         QStringLiteral("Google/Chrome")},
        {QStringLiteral("com.brave.Browser"), QStringLiteral("Brave"),
         QStringLiteral("BraveSoftware/Brave-Browser")},
        {QStringLiteral("com.microsoft.edgemac"), QStringLiteral("Edge"),
         QStringLiteral("Microsoft Edge")},
        {QStringLiteral("com.vivaldi.Vivaldi"), QStringLiteral("Vivaldi"),
         QStringLiteral("Vivaldi")},
        {QStringLiteral("org.chromium.Chromium"), QStringLiteral("Chromium"),
         QStringLiteral("Chromium")},
        {QStringLiteral("net.imput.helium"), QStringLiteral("Helium"),
         QStringLiteral("net.imput.helium")},
    };
#else
    static const QList<ChromiumFolder> family{
        {QStringLiteral("com.google.Chrome"), QStringLiteral("Chrome"),
         QStringLiteral("google-chrome")},
        {QStringLiteral("com.brave.Browser"), QStringLiteral("Brave"),
         QStringLiteral("BraveSoftware/Brave-Browser")},
        {QStringLiteral("com.microsoft.edgemac"), QStringLiteral("Edge"),
         QStringLiteral("microsoft-edge")},
        {QStringLiteral("com.vivaldi.Vivaldi"), QStringLiteral("Vivaldi"),
         QStringLiteral("vivaldi")},
        {QStringLiteral("org.chromium.Chromium"), QStringLiteral("Chromium"),
         QStringLiteral("chromium")},
        {QStringLiteral("net.imput.helium"), QStringLiteral("Helium"),
         QStringLiteral("net.imput.helium")},
    };
#endif
    return family;
}

std::optional<ChromiumFolder> arc() {
#ifdef Q_OS_MACOS
    return ChromiumFolder{QStringLiteral("company.thebrowser.Browser"), QStringLiteral("Arc"),
                          QStringLiteral("Arc/User Data")};
#else
    return std::nullopt;
#endif
}

QString supportFolder() {
#ifdef Q_OS_MACOS
    return underHome(QStringLiteral("Library/Application Support"));
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

std::optional<QString> safariFolder() {
#ifdef Q_OS_MACOS
    return underHome(QStringLiteral("Library/Safari"));
#else
    return std::nullopt;
#endif
}

bool canList(const QString& folder) {
    // A listing that succeeds always holds "." and "..", so an empty one means refusal.
    return !QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System).isEmpty();
}

} // namespace kivaro::BrowserFolders
