#include "ChromiumProcess.h"

#include "browsers/DevToolsEndpoint.h"

#include <QStandardPaths>

namespace kivaro::testing {

namespace {

// The browser writes its port file within a few seconds; the bound only stops a broken
// browser from hanging the test.
constexpr int startLimitMs = 30000;
constexpr int exitLimitMs = 15000;

} // namespace

ChromiumProcess::~ChromiumProcess() {
    if (!process_ || process_->state() == QProcess::NotRunning)
        return;
    process_->terminate();
    if (!process_->waitForFinished(exitLimitMs))
        process_->kill();
    process_->waitForFinished(exitLimitMs);
}

QString ChromiumProcess::binary() {
    for (const char16_t* name : {u"chromium", u"chromium-browser"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromUtf16(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool ChromiumProcess::start(const QString& dataFolder, const QString& firstPage,
                            const QString& display) {
    const QString program = binary();
    if (program.isEmpty()) {
        error_ = QStringLiteral("no chromium binary on the PATH (scripts/setup installs it)");
        return false;
    }
    process_ = std::make_unique<QProcess>();
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setStandardErrorFile(QProcess::nullDevice());
    QStringList arguments{QStringLiteral("--headless=new")};
    if (!display.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        process_->setProcessEnvironment(environment);
        arguments = {QStringLiteral("--window-position=0,0"),
                     QStringLiteral("--window-size=1000,700")};
    }
    process_->start(program,
                    arguments +
                        QStringList{QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                                    QStringLiteral("--no-first-run"),
                                    QStringLiteral("--disable-background-networking"),
                                    QStringLiteral("--disable-component-update"),
                                    QStringLiteral("--disable-sync"),
                                    QStringLiteral("--remote-debugging-port=0"),
                                    QStringLiteral("--user-data-dir=") + dataFolder, firstPage});
    if (!process_->waitForStarted(startLimitMs)) {
        error_ = QStringLiteral("chromium did not start: ") + process_->errorString();
        return false;
    }
    // The file may be caught half written; wait until it reads whole.
    if (!waitUntil([&] { return DevToolsEndpoint::read(dataFolder).has_value(); }, startLimitMs) ||
        process_->state() != QProcess::Running) {
        error_ = QStringLiteral("chromium started but wrote no DevToolsActivePort file");
        return false;
    }
    return true;
}

qint64 ChromiumProcess::pid() const {
    return process_ ? process_->processId() : 0;
}

bool ChromiumProcess::waitForExit() {
    return !process_ || process_->waitForFinished(exitLimitMs);
}

void ChromiumProcess::kill() {
    if (process_)
        process_->kill();
}

} // namespace kivaro::testing
