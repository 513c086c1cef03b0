#include "support/XvfbServer.h"

#include "support/RequireTool.h"

#include <QStandardPaths>

namespace kivaro::testing {

namespace {

const QString program = QStringLiteral("Xvfb");
// Start-up takes well under a second; the bound only keeps a broken server from hanging
// the test program.
constexpr int startLimitMs = 30000;

} // namespace

XvfbServer::~XvfbServer() {
    if (!process_)
        return;
    process_->terminate();
    if (!process_->waitForFinished(startLimitMs))
        process_->kill();
    process_->waitForFinished(startLimitMs);
}

bool XvfbServer::available() {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool XvfbServer::start(const QString& size) {
    process_ = std::make_unique<QProcess>();
    process_->setProgram(QStandardPaths::findExecutable(program));
    // -displayfd 1: the server picks a free display and writes its number to standard
    // output once it is ready for clients.
    process_->setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                            QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                            // Without it the server resets whenever its last client leaves
                            // and refuses connections meanwhile.
                            QStringLiteral("-noreset"), QStringLiteral("-screen"),
                            QStringLiteral("0"), size});
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->start();
    if (!process_->waitForStarted(startLimitMs)) {
        error_ = process_->errorString();
        return false;
    }
    QByteArray output;
    while (!output.contains('\n') && process_->waitForReadyRead(startLimitMs))
        output += process_->readAllStandardOutput();
    bool ok = false;
    const int number = output.trimmed().toInt(&ok);
    if (!ok) {
        error_ = QStringLiteral("Xvfb gave no display number: ") +
                 QString::fromLocal8Bit(process_->readAllStandardError());
        return false;
    }
    display_ = QStringLiteral(":%1").arg(number);
    return true;
}

void XvfbTest::SetUpTestSuite() {
    if (!XvfbServer::available())
        return;
    server = std::make_unique<XvfbServer>();
    if (!server->start())
        startError = server->error();
}

void XvfbTest::TearDownTestSuite() {
    server.reset();
}

void XvfbTest::requireServer() {
    KIVARO_REQUIRE_TOOL(XvfbServer::available(),
                        "no Xvfb on this machine (scripts/setup installs the xvfb package)");
    ASSERT_TRUE(startError.isEmpty()) << startError.toStdString();
}

} // namespace kivaro::testing
