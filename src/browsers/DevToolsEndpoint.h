#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace kivaro {

// Where a Chromium-family browser listens for the DevTools protocol. With remote debugging on,
// the browser writes a "DevToolsActivePort" file into its user data folder: the port on the
// first line, the path of the browser's WebSocket on the second. The file stays behind after
// the browser exits, so finding it proves nothing until a connection succeeds.
struct DevToolsEndpoint {
    quint16 port = 0;
    QString path;   // "/devtools/browser/<id>"
    QString folder; // the user data folder the file was found in

    bool operator==(const DevToolsEndpoint&) const = default;

    // Parses the file's contents; nothing for anything but a port in range and a browser path.
    static std::optional<DevToolsEndpoint> parse(const QByteArray& contents);
    // The endpoint written into `folder`, if its file is there and well formed.
    static std::optional<DevToolsEndpoint> read(const QString& folder);

    QUrl webSocketUrl() const;
    // The DevTools HTTP interface on the same port, e.g. "/json/list".
    QUrl httpUrl(const QString& path) const;
};

} // namespace kivaro
