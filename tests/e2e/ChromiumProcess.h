#pragma once

#include "support/WaitUntil.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace kivaro::testing {

// A Chromium with remote debugging on, its user data in `dataFolder`, showing one page.
class ChromiumProcess {
public:
    ~ChromiumProcess();

    // Whether a Chromium binary is on the PATH.
    static QString binary();

    // Starts the browser and waits (bounded) until it has written its DevToolsActivePort
    // file; false when it did not start (error() says why). Headless, unless an X display
    // is given for its window.
    bool start(const QString& dataFolder, const QString& firstPage, const QString& display = {});
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

} // namespace kivaro::testing
