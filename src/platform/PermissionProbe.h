#pragma once

#include <QList>

namespace kivaro {

// The three permissions the program works under: sending scripts to the browser, reading and
// pressing menus, and reading the browser's own databases.
enum class Permission { automation, accessibility, fullDisk };

// The state of the permissions and the requests for them. Where the platform has no such
// permissions the adapter reports each as granted.
class PermissionProbe {
public:
    virtual ~PermissionProbe() = default;

    static QList<Permission> allCases() {
        return {Permission::automation, Permission::accessibility, Permission::fullDisk};
    }

    // Asks the system without prompting the user. Any thread: the store asks on its queue.
    virtual bool granted(Permission permission) const = 0;
    // Asks for the permission: the system may show its own prompt or settings pane. Main
    // thread; returns at once, and the answer shows in a later `granted`.
    virtual void request(Permission permission) = 0;
};

} // namespace kivaro
