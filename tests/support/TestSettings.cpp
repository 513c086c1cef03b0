#include "support/TestSettings.h"

#include <QDataStream>
#include <QIODevice>

using namespace Qt::StringLiterals;

namespace kivaro::testing {

namespace {

bool readTyped(QIODevice& device, QSettings::SettingsMap& map) {
    if (device.atEnd())
        return true;
    QDataStream in(&device);
    in >> map;
    return in.status() == QDataStream::Ok;
}

bool writeTyped(QIODevice& device, const QSettings::SettingsMap& map) {
    QDataStream out(&device);
    out << map;
    return out.status() == QDataStream::Ok;
}

QSettings::Format typedFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(u"typed"_s, readTyped, writeTyped);
    return format;
}

} // namespace

std::unique_ptr<QSettings> settingsFile(StoreKind kind, const QString& path) {
    const QSettings::Format format = kind == StoreKind::ini ? QSettings::IniFormat : typedFormat();
    return std::make_unique<QSettings>(path, format);
}

const char* name(StoreKind kind) {
    return kind == StoreKind::ini ? "Ini" : "Typed";
}

} // namespace kivaro::testing
