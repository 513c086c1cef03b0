#include "base/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace kivaro::AtomicFile {

bool write(const QString& path, const QByteArray& bytes) {
    return write(path, bytes, {});
}

bool write(const QString& path, const QByteArray& bytes,
           const std::function<void()>& beforeRename) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // Never fall back to writing the old file in place: that is the torn write this avoids.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (beforeRename)
        beforeRename();
    // Flushes, syncs to disk, then renames over the old file.
    return file.commit();
}

QString asideName(const QString& path) {
    const QString base = path + QStringLiteral(".unreadable");
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + u'-' + QString::number(n);
    return name;
}

} // namespace kivaro::AtomicFile
