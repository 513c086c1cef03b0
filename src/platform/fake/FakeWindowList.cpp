#include "platform/fake/FakeWindowList.h"

namespace kivaro {

QList<WindowList::Window> FakeWindowList::windows() const {
    const std::lock_guard lock(mutex_);
    return windows_;
}

void FakeWindowList::setWindows(const QList<Window>& windows) {
    const std::lock_guard lock(mutex_);
    windows_ = windows;
}

} // namespace kivaro
