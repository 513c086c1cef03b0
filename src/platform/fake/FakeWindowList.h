#pragma once

#include "platform/WindowList.h"

#include <mutex>

namespace kivaro {

// Windows that a test lays out by hand.
class FakeWindowList : public WindowList {
public:
    QList<Window> windows() const override;

    // Replaces the list (front to back).
    void setWindows(const QList<Window>& windows);

private:
    mutable std::mutex mutex_;
    QList<Window> windows_;
};

} // namespace kivaro
