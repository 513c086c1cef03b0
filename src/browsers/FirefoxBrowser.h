#pragma once

#include "browsers/DevToolsEndpoint.h"
#include "browsers/RemoteBrowser.h"
#include "platform/PrivateFolder.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace kivaro {

// Firefox driven through WebDriver BiDi, its own remote protocol. Firefox started with
// --remote-debugging-port serves a BiDi session at ws://127.0.0.1:PORT/session and names the
// port in a "WebDriverBiDiServer.json" file in its profile folder; the file written last among
// the profiles of profiles.ini is used, else the standard port. Every operation waits at most
// `timeout`; while Firefox cannot be reached, lists are empty, nothing happens, and status()
// says how to start it.
//
// The protocol names each tab by a browsing-context id and each window by a client-window id;
// copies share one connection (one session: Firefox allows a single one) and one memory of the
// tabs listed last, so that a (window id, index) handed out selects that same tab later.
class FirefoxBrowser final : public RemoteBrowser {
public:
    static constexpr std::chrono::milliseconds defaultTimeout{2000};
    // The port Firefox listens on when --remote-debugging-port is given without one.
    static constexpr quint16 standardPort = 9222;
    static inline const QString serverFile = QStringLiteral("WebDriverBiDiServer.json");

    FirefoxBrowser(QString bundleID, QString name, const PrivateFolder& snapshots,
                   std::chrono::milliseconds timeout = defaultTimeout);

    // The BiDi endpoint a server file names; nothing unless it names a port on this machine.
    static std::optional<DevToolsEndpoint> parseServerFile(const QByteArray& contents);

    QString bundleID() const override { return bundleID_; }
    QString name() const override { return name_; }
    // Every tab, windows front to back (the active window first), tabs in the order Firefox
    // lists them; the visible tab of each window is its current one.
    QList<SafariTab> tabs() const override;
    // Selects the tab and raises its window.
    void switchTo(qint64 windowID, qint64 index) const override;
    // A new tab opens beside the front tab; the current tab is navigated.
    void open(const QString& url, bool newTab) const override;
    void close(qint64 windowID, qint64 index) const override;
    std::optional<std::pair<QString, QString>> currentPage() const override;
    std::optional<TabRef> currentTab() const override;
    QStringList urls(qint64 windowID) const override;
    // The history of every Firefox profile.
    HistoryResult history() const override;

    bool reachable() const override;
    QString status() const override;
    bool supports(Operation operation) const override;
    bool perform(Operation operation) const override;

    struct Shared;

private:
    QString bundleID_;
    QString name_;
    const PrivateFolder& snapshots_;
    std::chrono::milliseconds timeout_;
    std::shared_ptr<Shared> shared_;
};

} // namespace kivaro
