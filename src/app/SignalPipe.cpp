#include "app/SignalPipe.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kivaro {

namespace {

// The write end the handler uses; -1 while no SignalPipe is there to read.
std::atomic<int> pipeWriteEnd = -1;
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free int");

extern "C" void forwardSignal(int signal) {
    const int savedErrno = errno;
    const int fd = pipeWriteEnd.load();
    const unsigned char number = static_cast<unsigned char>(signal);
    if (fd >= 0 && ::write(fd, &number, 1) < 0) {
        // A full pipe drops the signal: signals are already waiting to be read.
    }
    errno = savedErrno;
}

} // namespace

SignalPipe::SignalPipe() {
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    pipeWriteEnd.store(writeEnd_);
    notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { drain(); });
}

SignalPipe::~SignalPipe() {
    int expected = writeEnd_;
    pipeWriteEnd.compare_exchange_strong(expected, -1);
    notifier_.reset();
    if (readEnd_ >= 0)
        ::close(readEnd_);
    if (writeEnd_ >= 0)
        ::close(writeEnd_);
}

bool SignalPipe::listen(int signal, std::function<void()> handler) {
    if (readEnd_ < 0)
        return false;
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(signal, &action, nullptr) != 0)
        return false;
    handlers_.insert(signal, std::move(handler));
    return true;
}

void SignalPipe::drain() {
    unsigned char numbers[64];
    ssize_t got = 0;
    while ((got = ::read(readEnd_, numbers, sizeof numbers)) > 0 || (got < 0 && errno == EINTR)) {
        for (ssize_t i = 0; i < got; ++i) {
            // The handler may listen again; it runs on a copy.
            const std::function<void()> handler = handlers_.value(numbers[i]);
            if (handler)
                handler();
        }
    }
}

} // namespace kivaro
