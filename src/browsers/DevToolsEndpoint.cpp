#include "browsers/DevToolsEndpoint.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace kivaro {

namespace {

const QString fileName = QStringLiteral("DevToolsActivePort");
// The file holds two short lines; anything much longer is not the browser's.
constexpr qint64 largestFile = 4096;

QUrl local(const QString& scheme, quint16 port, const QString& path) {
    QUrl url;
    url.setScheme(scheme);
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port);
    url.setPath(path);
    return url;
}

} // namespace

std::optional<DevToolsEndpoint> DevToolsEndpoint::parse(const QByteArray& contents) {
    const QStringList lines = QString::fromUtf8(contents).split(u'\n');
    if (lines.size() < 2)
        return std::nullopt;
    bool isNumber = false;
    const uint port = lines[0].trimmed().toUInt(&isNumber);
    if (!isNumber || port == 0 || port > 65535)
        return std::nullopt;
    // Only the browser target's path is accepted, so that nothing but a plain path of
    // letters, digits and dashes is ever put into the address we connect to.
    static const QRegularExpression browserPath(
        QStringLiteral("^/devtools/browser/[A-Za-z0-9-]{1,128}$"));
    const QString path = lines[1].trimmed();
    if (!browserPath.match(path).hasMatch())
        return std::nullopt;
    return DevToolsEndpoint{static_cast<quint16>(port), path, {}};
}

std::optional<DevToolsEndpoint> DevToolsEndpoint::read(const QString& folder) {
    QFile file(folder + u'/' + fileName);
    // Only a regular file: opening a pipe planted under that name would wait forever.
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    auto endpoint = parse(file.read(largestFile));
    if (endpoint)
        endpoint->folder = folder;
    return endpoint;
}

QUrl DevToolsEndpoint::webSocketUrl() const {
    return local(QStringLiteral("ws"), port, path);
}

QUrl DevToolsEndpoint::httpUrl(const QString& httpPath) const {
    return local(QStringLiteral("http"), port, httpPath);
}

} // namespace kivaro
