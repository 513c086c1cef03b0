#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

#include <optional>

namespace kivaro {

// The bare addresses the user removed from history, kept in "hidden-history.json": a JSON
// array of strings in ascending order. The browser's own history is never touched.
namespace HiddenHistory {

// "hidden-history.json" in the application's data folder.
QString defaultFile();

QByteArray encode(const QSet<QString>& hidden);
// Nothing unless the bytes are a JSON array of strings.
std::optional<QSet<QString>> decode(const QByteArray& bytes);

// The set in `file`; empty when the file is missing or unreadable. A file that does not
// decode is renamed aside (AtomicFile::asideName), keeping its bytes for the user, and the
// set starts empty.
QSet<QString> load(const QString& file);

// Writes the set atomically, creating the folder. False when it could not be written; the
// caller keeps the set in memory and the next save tries again.
bool save(const QString& file, const QSet<QString>& hidden);

} // namespace HiddenHistory

} // namespace kivaro
