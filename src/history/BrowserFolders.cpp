#include "history/BrowserFolders.h"

#include <QDir>
#include <QStandardPaths>

#include <array>

namespace kivaro::BrowserFolders {

namespace {

QString underHome(const QString& path) {
    return QDir::homePath() + u'/' + path;
}

} // namespace

const QList<ChromiumFolder>& chromiumFamily() {
    // bundle identifier, name, folder on macOS, folder on Linux
    static const std::array<std::array<const char16_t*, 4>, 6> table{{
        {u"com.google.Chrome", u"Chrome", u"Google/Chrome", u"google-chrome"},
        {u"com.brave.Browser", u"Brave", u"BraveSoftware/Brave-Browser",
         u"BraveSoftware/Brave-Browser"},
        {u"com.microsoft.edgemac", u"Edge", u"Microsoft Edge", u"microsoft-edge"},
        {u"com.vivaldi.Vivaldi", u"Vivaldi", u"Vivaldi", u"vivaldi"},
        {u"org.chromium.Chromium", u"Chromium", u"Chromium", u"chromium"},
        {u"net.imput.helium", u"Helium", u"net.imput.helium", u"net.imput.helium"},
    }};
#ifdef Q_OS_MACOS
    constexpr int folderColumn = 2;
#else
    constexpr int folderColumn = 3;
#endif
    static const QList<ChromiumFolder> family = [] {
        QList<ChromiumFolder> browsers;
        for (const auto& row : table)
            browsers.append({QString::fromUtf16(row[0]), QString::fromUtf16(row[1]),
                             QString::fromUtf16(row[folderColumn])});
        return browsers;
    }();
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

QStringList firefoxRoots() {
#ifdef Q_OS_MACOS
    return {supportFolder() + QStringLiteral("/Firefox")};
#else
    return {supportFolder() + QStringLiteral("/mozilla/firefox"),
            underHome(QStringLiteral(".mozilla/firefox")),
            underHome(QStringLiteral("snap/firefox/common/.mozilla/firefox")),
            underHome(QStringLiteral(".var/app/org.mozilla.firefox/.mozilla/firefox")),
            underHome(QStringLiteral(".var/app/org.mozilla.firefox/config/mozilla/firefox")),
            supportFolder() + QStringLiteral("/mozilla/firefox-esr"),
            underHome(QStringLiteral(".mozilla/firefox-esr"))};
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
