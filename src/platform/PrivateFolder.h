#pragma once

#include <QString>

#include <optional>

namespace kivaro {

// A folder only this user can enter, for our copies of other programs' files. The system's
// temporary folder is shared between users, so fixed names there would let another user plant
// a link or read a copy of someone's history.
class PrivateFolder {
public:
    virtual ~PrivateFolder() = default;

    // An empty folder `name` inside the private folder, created with mode 0700 (a previous one
    // is removed without following any link inside it). Nothing when the private folder cannot
    // be had safely (a link, another user's, unwritable) or `name` is not a plain file name.
    virtual std::optional<QString> freshFolder(const QString& name) const = 0;

    // The private folder itself, created with mode 0700 when missing, for what must stay put
    // between calls (the running copy's socket). Nothing when it cannot be had safely.
    virtual std::optional<QString> ownFolder() const = 0;

    // Copies the regular file `source` to the new file `name` in `folder` (a folder that
    // freshFolder returned). Never writes through a link and never waits on a pipe or a
    // device; false on any failure, leaving no partial copy.
    virtual bool copyInto(const QString& source, const QString& folder,
                          const QString& name) const = 0;
};

} // namespace kivaro
