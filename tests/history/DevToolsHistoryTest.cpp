#include "HistoryFixtures.h"
#include "browsers/DevToolsBrowser.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QWebSocket>
#include <QWebSocketServer>

#include <gtest/gtest.h>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;

// A DevTools endpoint on a thread of its own that answers every call with an empty result.
class AnsweringEndpoint {
public:
    AnsweringEndpoint() {
        home_->moveToThread(&thread_);
        thread_.start();
        QMetaObject::invokeMethod(
            home_, [this] { port_ = serve(); }, Qt::BlockingQueuedConnection);
    }
    ~AnsweringEndpoint() {
        QMetaObject::invokeMethod(
            home_, [this] { delete home_; }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    quint16 port() const { return port_; }

private:
    quint16 serve() {
        auto* server = new QWebSocketServer(u"fake"_s, QWebSocketServer::NonSecureMode, home_);
        QObject::connect(server, &QWebSocketServer::newConnection, server, [server] {
            while (QWebSocket* socket = server->nextPendingConnection()) {
                socket->setParent(server);
                QObject::connect(
                    socket, &QWebSocket::textMessageReceived, socket,
                    [socket](const QString& text) {
                        const QJsonObject answer{
                            {u"id"_s, QJsonDocument::fromJson(text.toUtf8()).object().value(u"id")},
                            {u"result"_s, QJsonObject()}};
                        socket->sendTextMessage(QString::fromUtf8(QJsonDocument(answer).toJson()));
                    });
            }
        });
        return server->listen(QHostAddress::LocalHost) ? server->serverPort() : 0;
    }

    QThread thread_;
    QObject* home_ = new QObject;
    quint16 port_ = 0;
};

using DevToolsHistoryTest = HistoryTest;

// A browser started on a profile of its own ("<folder>-kivaro") shows that profile's history,
// not the default folder's.
TEST_F(DevToolsHistoryTest, ReadsTheFolderWhoseEndpointTheBrowserAnswersOn) {
    AnsweringEndpoint live;
    ASSERT_NE(live.port(), 0);
    const QStringList folders{u"chromium"_s, u"chromium-kivaro"_s};
    for (const QString& folder : folders)
        addChromiumRow(chromiumProfile(folder, u"Default"_s), u"https://%1.example/"_s.arg(folder),
                       u"Page"_s, u"1"_s, u"13300000000000000"_s);
    for (const QString& used : folders) {
        for (const QString& folder : folders)
            QFile::remove(configFolder() + u'/' + folder + u"/DevToolsActivePort"_s);
        writeFile(configFolder() + u'/' + used + u"/DevToolsActivePort"_s,
                  QByteArray::number(live.port()) + "\n/devtools/browser/fake");
        // A generous limit: a loaded machine must not make the endpoint look hung.
        const DevToolsBrowser browser(u"org.chromium.Chromium"_s, u"Chromium"_s, folders,
                                      *snapshots_, std::chrono::seconds(60));
        ASSERT_TRUE(browser.reachable());
        const HistoryResult history = browser.history();
        ASSERT_EQ(history.entries.size(), 1) << history.status.toStdString();
        EXPECT_EQ(history.entries.first().url, u"https://%1.example/"_s.arg(used));
    }
}

} // namespace
} // namespace kivaro::test
