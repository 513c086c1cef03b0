#pragma once

struct _XDisplay;

namespace kivaro {

// Xlib reports request errors to one process-wide handler, later than the request. A trap
// catches the errors of one connection between its creation and failed(): it syncs so that
// every reply has arrived, and restores the previous handler when it ends. Traps nest: an
// error caught by an inner trap counts for the outer one too.
class ErrorTrap {
public:
    explicit ErrorTrap(_XDisplay* display);
    ~ErrorTrap();

    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool failed();

private:
    _XDisplay* display_;
    _XDisplay* outerDisplay_ = nullptr;
    bool outerCaught_ = false;
};

} // namespace kivaro
