#include "platform/linux/XdgAutostart.h"

#include "base/Identifiers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace kivaro {

namespace {

// One Exec argument: quoted, with the characters the desktop-entry format reserves inside
// quotes escaped; "%" is doubled so it is not taken for a field code. The backslashes are
// then doubled once more, since the whole value is itself an escaped string.
std::optional<QString> execArgument(const QString& path) {
    QString quoted = QStringLiteral("\"");
    for (QChar c : path) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return std::nullopt;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    return quoted.replace(u'\\', QStringLiteral("\\\\"));
}

bool isHidden(const QString& text) {
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed == u"Hidden=true" || trimmed == u"X-GNOME-Autostart-enabled=false")
            return true;
    }
    return false;
}

} // namespace

XdgAutostart::XdgAutostart()
    : XdgAutostart(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       QStringLiteral("/autostart"),
                   Identifiers::bundle, QCoreApplication::applicationFilePath()) {}

XdgAutostart::XdgAutostart(QString folder, QString identifier, QString executable)
    : folder_(std::move(folder)), identifier_(std::move(identifier)),
      executable_(std::move(executable)) {}

QString XdgAutostart::entryPath() const {
    return QDir(folder_).filePath(identifier_ + QStringLiteral(".desktop"));
}

std::optional<QString> XdgAutostart::entry(const QString& executable) {
    const auto exec = execArgument(executable);
    if (!exec || executable.isEmpty())
        return std::nullopt;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Kivaro\n"
                          "Comment=Keyboard command bar for web browsers\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(*exec);
}

bool XdgAutostart::enabled() const {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // An entry is a few hundred bytes; anything huge is not ours to parse.
    return !isHidden(QString::fromUtf8(file.read(64 * 1024)));
}

bool XdgAutostart::setEnabled(bool on) {
    if (!on)
        return !QFile::exists(entryPath()) || QFile::remove(entryPath());
    const auto text = entry(executable_);
    if (!text || !QDir().mkpath(folder_))
        return false;
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text->toUtf8());
    return file.commit();
}

} // namespace kivaro
