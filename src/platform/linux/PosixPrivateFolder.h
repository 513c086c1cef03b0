#pragma once

#include "platform/PrivateFolder.h"

#include <memory>

namespace kivaro {

// The private folder `name` inside `parent`, through POSIX calls that never follow a link
// where a planted one could redirect a write (macOS is POSIX too).
class PosixPrivateFolder final : public PrivateFolder {
public:
    PosixPrivateFolder(QString parent, QString name);

    // The folder for database copies: "kivaro" under the per-user runtime folder, or under
    // the user's cache folder where there is none.
    static std::unique_ptr<PosixPrivateFolder> forSnapshots();

    std::optional<QString> freshFolder(const QString& name) const override;
    std::optional<QString> ownFolder() const override;
    bool copyInto(const QString& source, const QString& folder, const QString& name) const override;

private:
    QString parent_;
    QString name_;
};

} // namespace kivaro
