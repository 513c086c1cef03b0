#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

namespace kivaro::testing {

// Turns the event loop until `done` holds or `boundMs` pass, asking every `everyMs`; whether
// it held. The bound is generous: it only stops a broken test from hanging, it never times
// anything. Ask a real browser less often: a flood of questions can hold up its page loads.
template <typename Condition>
bool waitUntil(Condition done, int boundMs = 30000, int everyMs = 5) {
    const QDeadlineTimer deadline(boundMs);
    for (;;) {
        // Asked once per turn: what flickers (a page that reloads) is judged by one look.
        if (done())
            return true;
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(everyMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// Lets queued work (replies scheduled for deletion, late signals) run out.
inline void drainEvents() {
    for (int round = 0; round < 20; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace kivaro::testing
