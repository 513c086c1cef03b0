#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace kivaro::testing {

// A headless Chromium with remote debugging on, its user data in `dataFolder`, showing one page.
class ChromiumProcess {
public:
    ~ChromiumProcess();

    // Whether a Chromium binary is on the PATH.
    static QString binary();

    // Starts the browser and waits (bounded) until it has written its DevToolsActivePort
    // file; false when it did not start (error() says why).
    bool start(const QString& dataFolder, const QString& firstPage);
    QString error() const { return error_; }
    qint64 pid() const;

    // Waits (bounded) for the browser to exit, after it was asked to close.
    bool waitForExit();
    // SIGKILL, as a crash would.
    void kill();

private:
    std::unique_ptr<QProcess> process_;
    QString error_;
};

// Polls `condition` every 50 ms until it holds or `limitMs` pass; whether it held.
template <typename Condition>
bool eventually(Condition condition, int limitMs = 10000);

} // namespace kivaro::testing

#include <QDeadlineTimer>
#include <QThread>

template <typename Condition>
bool kivaro::testing::eventually(Condition condition, int limitMs) {
    const QDeadlineTimer deadline(limitMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}
