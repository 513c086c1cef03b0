#include "store/HiddenHistory.h"

#include "base/AtomicFile.h"
#include "settings/Storage.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace kivaro::HiddenHistory {

QString defaultFile() {
    return QDir(Storage::dataFolder()).filePath(QStringLiteral("hidden-history.json"));
}

QByteArray encode(const QSet<QString>& hidden) {
    QStringList sorted(hidden.cbegin(), hidden.cend());
    std::sort(sorted.begin(), sorted.end());
    return QJsonDocument(QJsonArray::fromStringList(sorted)).toJson(QJsonDocument::Compact);
}

std::optional<QSet<QString>> decode(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QSet<QString> hidden;
    for (const QJsonValue& value : document.array()) {
        if (!value.isString())
            return std::nullopt;
        hidden.insert(value.toString());
    }
    return hidden;
}

QSet<QString> load(const QString& file) {
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = input.readAll();
    input.close();
    if (auto hidden = decode(bytes))
        return *hidden;
    // Keep the unreadable file for the user instead of letting the next save replace it.
    QFile::rename(file, AtomicFile::asideName(file));
    return {};
}

bool save(const QString& file, const QSet<QString>& hidden) {
    return AtomicFile::write(file, encode(hidden));
}

} // namespace kivaro::HiddenHistory
