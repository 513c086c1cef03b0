#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace kivaro {

// One running copy per user. The first copy listens on a local socket in the user's private
// runtime folder; a later start finds it there, asks it to reopen (it shows its settings
// window) and leaves, so two copies never fight over the same key grabs.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // The one message a later start sends.
    static inline const QByteArray reopenMessage = QByteArrayLiteral("reopen\n");

    explicit SingleInstance(QString socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks a running copy to reopen; true when one took the message, and this start should
    // end. Waits a moment for the answer: it runs before anything else has started.
    bool handOver() const;

    // Becomes the running copy: `reopen` runs on the main thread for every later start.
    // A socket left behind by a copy that crashed is replaced. False when it cannot listen.
    bool listen(std::function<void()> reopen);

    QString socketPath() const { return socketPath_; }

private:
    void accept();

    QString socketPath_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> reopen_;
};

} // namespace kivaro
