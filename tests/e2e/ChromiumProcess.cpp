#include "ChromiumProcess.h"

#include "browsers/DevToolsEndpoint.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

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
        error_ = u"no chromium binary on the PATH (scripts/setup installs it)"_s;
        return false;
    }
    process_ = std::make_unique<QProcess>();
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setStandardErrorFile(QProcess::nullDevice());
    QStringList arguments{u"--headless=new"_s};
    if (!display.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, display);
        process_->setProcessEnvironment(environment);
        arguments = {u"--window-position=0,0"_s, u"--window-size=1000,700"_s};
    }
    process_->start(
        program, arguments + QStringList{u"--no-sandbox"_s, u"--disable-gpu"_s, u"--no-first-run"_s,
                                         u"--disable-background-networking"_s,
                                         u"--disable-component-update"_s, u"--disable-sync"_s,
                                         u"--remote-debugging-port=0"_s,
                                         u"--user-data-dir="_s + dataFolder, firstPage});
    if (!process_->waitForStarted(startLimitMs)) {
        error_ = u"chromium did not start: "_s + process_->errorString();
        return false;
    }
    // The file may be caught half written; wait until it reads whole.
    if (!waitUntil([&] { return DevToolsEndpoint::read(dataFolder).has_value(); }, startLimitMs) ||
        process_->state() != QProcess::Running) {
        error_ = u"chromium started but wrote no DevToolsActivePort file"_s;
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
