#pragma once

#include <QHash>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace kivaro {

// POSIX signals as calls on the main thread. The signal handler only writes the signal's
// number into a pipe (a write is safe inside a handler, a Qt call is not); the read end is
// watched by a socket notifier in the event loop, which runs the handler given to listen().
// One pipe serves the process: a newer SignalPipe takes the signals over, and once it is
// gone a signal still arriving is dropped.
class SignalPipe {
public:
    SignalPipe();
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // Replaces the signal's default action (for SIGUSR1 and SIGUSR2, ending the process) and
    // runs `handler` for each arrival. False when the pipe or the handler could not be had.
    bool listen(int signal, std::function<void()> handler);

private:
    void drain();

    int readEnd_ = -1;
    int writeEnd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QHash<int, std::function<void()>> handlers_;
};

} // namespace kivaro
