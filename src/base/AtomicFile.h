#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace kivaro::AtomicFile {

// Replaces the file at `path` with `bytes`: they go to a temporary file beside it, which is
// flushed to disk and then renamed over the old one, so a crash at any point leaves either the
// old file or the new one, never a torn one. Missing parent folders are created. Whether the
// file now holds the bytes.
bool write(const QString& path, const QByteArray& bytes);

// As write, calling `beforeRename` once the temporary file is complete: the moment a crash
// would cost the most.
bool write(const QString& path, const QByteArray& bytes, const std::function<void()>& beforeRename);

// A free name beside `path` for a file kept aside because it did not decode: path.unreadable,
// then path.unreadable-2, -3, ... so no kept file is ever replaced.
QString asideName(const QString& path);

} // namespace kivaro::AtomicFile
