#pragma once

#include "platform/LoginItem.h"

#include <QString>

namespace kivaro {

// Launch at login through an XDG autostart entry: <autostart folder>/<identifier>.desktop.
class XdgAutostart : public LoginItem {
public:
    // The user's autostart folder (~/.config/autostart) and this executable.
    XdgAutostart();
    XdgAutostart(QString folder, QString identifier, QString executable);

    // On when our entry exists and is not hidden (a desktop may hide it instead of deleting).
    bool enabled() const override;
    // Writes the entry atomically, or removes it.
    bool setEnabled(bool on) override;

    QString entryPath() const;

    // The entry's text for `executable`; nothing when the path cannot be written into an
    // Exec line (a line break or a control character in it).
    static std::optional<QString> entry(const QString& executable);

private:
    QString folder_;
    QString identifier_;
    QString executable_;
};

} // namespace kivaro
